#include <gtest/gtest.h>

#include "setup/PathHelpers.h"
#include "tests/support/TempDir.h"

namespace {

enum class Op { Join, DirectoryOf, WithExtension, ExtensionOf };

struct PathCase {
    Op op;
    std::string a, b, expected;
};

const PathCase kPathCases[] = {
    {Op::Join, "C:\\Program Files\\Quenfold", "Tavimore.Exe", "C:\\Program Files\\Quenfold\\Tavimore.Exe"},
    {Op::Join, "A:\\", "Tavimore.001", "A:\\Tavimore.001"},
    {Op::Join, "", "Tavimore._MV", "Tavimore._MV"},
    {Op::Join, "C:", "X", "C:\\X"},
    {Op::Join, "C:\\A/", "X", "C:\\A/\\X"},       // only a backslash counts as separator
    {Op::Join, "C:\\A", "\\X", "C:\\A\\\\X"},     // the name is never examined
    {Op::DirectoryOf, "A:\\SETUP.EXE", "", "A:\\"},
    {Op::DirectoryOf, "SETUP.EXE", "", ""},
    {Op::DirectoryOf, "C:SETUP.EXE", "", "C:"},
    {Op::DirectoryOf, "C:\\A\\B\\SETUP.EXE", "", "C:\\A\\B\\"},
    {Op::WithExtension, "Tavimore.001", ".002", "Tavimore.002"},
    {Op::WithExtension, "C:\\A.B\\Tavimore", ".Exe", "C:\\A.B\\Tavimore.Exe"},
    {Op::WithExtension, "Tavimore", ".Exe", "Tavimore.Exe"},
    {Op::WithExtension, "a.b.c", ".d", "a.b.d"},
    {Op::ExtensionOf, "Tavimore.hlp", "", ".hlp"},
    {Op::ExtensionOf, "Tavimore", "", ""},
    {Op::ExtensionOf, "C:\\A.B\\Tavimore", "", ""},
    {Op::ExtensionOf, "archive.tar.gz", "", ".gz"},
};

TEST(PathHelpers, TableOfCases) {
    for (const auto& c : kPathCases) {
        std::string got;
        switch (c.op) {
            case Op::Join: got = JoinPath(c.a, c.b); break;
            case Op::DirectoryOf: got = DirectoryOf(c.a); break;
            case Op::WithExtension: got = WithExtension(c.a, c.b); break;
            case Op::ExtensionOf: got = ExtensionOf(c.a); break;
        }
        EXPECT_EQ(got, c.expected) << "arguments '" << c.a << "', '" << c.b << "'";
    }
}

TEST(PathHelpers, ExtensionIsCutAt255Characters) {
    const std::string ext = "." + std::string(300, 'x');
    EXPECT_EQ(ExtensionOf("name" + ext), ext.substr(0, 255));
}

TEST(PathHelpers, UpperExtensionChangesOnlyLettersAToZ) {
    EXPECT_EQ(UpperExtensionOf("Help.hlp"), ".HLP");
    EXPECT_EQ(UpperExtensionOf("x.d\xe9t"), ".D\xe9T");
}

TEST(PathHelpers, IsExistingFileSeesFilesNotDirectories) {
    TempDir dir;
    dir.Write("file.txt", "x");
    std::filesystem::create_directory(dir.Root() / "sub");
    EXPECT_TRUE(IsExistingFile(JoinPath(dir.Dir(), "file.txt")));
    EXPECT_FALSE(IsExistingFile(JoinPath(dir.Dir(), "sub")));
    EXPECT_FALSE(IsExistingFile(JoinPath(dir.Dir(), "missing.txt")));
    EXPECT_FALSE(IsExistingFile(""));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "ui/DestinationForm.h"

namespace {

struct FormCase {
    std::string text;
    bool valid;
};

const FormCase kFormCases[] = {
    {"", false},
    {"C", false},
    {"C:", true},
    {"C:\\", true},
    {"C:\\PROGRAM FILES\\QUENFOLD", true},
    {"A:", true},
    {"Z:X", true},
    {"1:\\X", false},          // a digit is no drive letter
    {"c:\\program files", false},  // lower case is refused
    {"@:", false},             // the byte before 'A'
    {"[:", false},             // the byte after 'Z'
    {"CC:", false},
    {"C;", false},
    {"\\\\SERVER\\SHARE", false},
};

TEST(DestinationForm, DriveLetterAndColonAreRequired) {
    for (const FormCase& c : kFormCases) EXPECT_EQ(IsValidDestinationForm(c.text), c.valid) << "'" << c.text << "'";
}

}  // namespace

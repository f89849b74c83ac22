#include "setup/SetupSequence.h"

#include "lzh/DecoderStreams.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "setup/UninstallEntry.h"

namespace {

bool Succeeded(const DialogOutcome& outcome) { return !outcome.Missing && outcome.Result == 1; }

// The Group step and everything after it. Returns false when the installation is to end through
// the clean-up (a missing Group template).
bool FinishInstallation(SetupPlatform& platform) {
    const DialogOutcome group = RunDialogStep(platform, DialogStep::Group);
    if (group.Missing) return false;
    if (group.Result == 1) platform.CreateShortcut();
    WriteUninstallEntry(platform.Registry());
    if (platform.AskYesNo(FinalQuestionText(), ProductConfig.ProductTitle)) LaunchProduct(platform);
    return true;
}

// The dialog steps in order; sets AbortFlag when the installation is to end through the clean-up.
void RunDialogSteps(SetupPlatform& platform) {
    const DialogOutcome main = RunDialogStep(platform, DialogStep::Main);
    if (main.Missing) return;  // ends silently
    if (main.Result != 1) {
        SetupState.AbortFlag = true;
        return;
    }
    const DialogOutcome license = RunDialogStep(platform, DialogStep::License);
    if (!license.Missing && license.Result != 1) {
        SetupState.AbortFlag = true;
        return;
    }
    for (const DialogStep step : {DialogStep::IProgress, DialogStep::Progress}) {
        if (!Succeeded(RunDialogStep(platform, step))) {
            SetupState.AbortFlag = true;
            return;
        }
    }
    if (!FinishInstallation(platform)) SetupState.AbortFlag = true;
}

}  // namespace

const char* DialogTemplateName(DialogStep step) {
    switch (step) {
        case DialogStep::Main: return "Main";
        case DialogStep::License: return "License";
        case DialogStep::IProgress: return "IProgress";
        case DialogStep::Progress: return "Progress";
        case DialogStep::Group: return "Group";
    }
    return "";
}

std::string FinalQuestionText() { return ProductConfig.SuccessMessage + ProductConfig.ProductTitle + "?"; }

DialogOutcome RunDialogStep(SetupPlatform& platform, DialogStep step) {
    const DialogOutcome outcome = platform.RunDialog(step);
    if (!outcome.Missing) SetupState.DialogResult = outcome.Result;
    return outcome;
}

void LaunchProduct(SetupPlatform& platform) {
    ProductConfig.ExeFileName = WithExtension(ProductConfig.ExeFileName, ".Exe");
    platform.Launch(JoinPath(SetupState.DestDir, ProductConfig.ExeFileName), SetupState.DestDir);
}

void CleanUpAbortedSetup(SetupPlatform& platform) {
    // Only what this run made: an earlier installation's main program, or a file of that name on
    // the distribution disk, stays.
    const std::string archive = JoinPath(SetupState.DestDir, ProductConfig.ArchiveFileName);
    if (SetupState.ArchiveCreated && IsExistingFile(archive)) platform.RemoveFile(archive);
    const std::string bundle = JoinPath(SetupState.DestDir, ProductConfig.ExeFileName);
    if (SetupState.BundleCreated && IsExistingFile(bundle)) platform.RemoveFile(bundle);
    platform.ShowMessage(ProductConfig.TerminatedMessage, ProductConfig.ProductTitle);
}

void RunSetup(SetupPlatform& platform) {
    SetupState.FileOpenMode = 2;
    SetupState.SourceDir = DirectoryOf(platform.ModuleFileName());
    SetupState.SourceBuffer.assign(DecoderBufferSize, 0);
    SetupState.SinkBuffer.assign(DecoderBufferSize, 0);
    SetupState.DecoderSource = ArchiveSource;
    SetupState.DecoderSink = BundleSink;
    platform.MeasureScreen(SetupState.ScreenWidth, SetupState.ScreenHeight);
    platform.CreateBackgroundWindow();
    SetupState.WindowsDir = platform.WindowsDirectory();
    SetupState.AbortFlag = false;

    RunDialogSteps(platform);
    if (SetupState.AbortFlag) CleanUpAbortedSetup(platform);

    SetupState.SourceBuffer.clear();
    SetupState.SourceBuffer.shrink_to_fit();
    SetupState.SinkBuffer.clear();
    SetupState.SinkBuffer.shrink_to_fit();
}

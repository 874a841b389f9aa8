// windows: version, build, service pack, 32- or 64-bit.
#include "TillProbes.h"
#include "TillSteps.h"

StepVerdict windowsStep(CheckContext& c) {
    const WindowsVersion version = readWindowsVersion();
    c.windowsMajor = version.major;
    c.windowsMinor = version.minor;
    // For the name Internet Options has on this Windows.
    c.internetExplorer = readInternetExplorerMajor();
    return judgeWindows(version, *c.catalog);
}

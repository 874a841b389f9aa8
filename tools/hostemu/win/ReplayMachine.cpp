#include "ReplayMachine.h"

#include <windows.h>

#include "FileSize.h"
#include "NetProbes.h"
#include "TillProbes.h"
#include "cli/Output.h"
#include "dllfile/DllLoadText.h"
#include "files/FileBytes.h"

namespace {

constexpr uint32_t kProbeTimeoutMs = 5000;

}  // namespace

bool WindowsReplayHost::prepare(std::string& complaint) {
    scratch_ = std::make_unique<ScratchFolder>();
    if (!scratch_->ready()) {
        complaint = formatMessage(catalog_, Msg::replay_no_scratch_folder);
        return false;
    }
    dll_ = std::make_unique<DllModule>(dllPath_);
    if (!dll_->loaded()) {
        const DWORD error = GetLastError();
        // The load failure's own lines, then the replay's verdict on it.
        complaint = dllLoadFailure(dllPath_, error, catalog_) +
                    complaintText(formatMessage(catalog_, Msg::replay_nothing_can_run));
        return false;
    }
    return true;
}

std::string WindowsReplayHost::pathOf(const char* name) const {
    return scratch_->path() + "\\" + name;
}

bool WindowsReplayHost::writeFile(const std::string& path, const std::string& bytes) {
    return writeWholeFile(path, bytes);
}

void WindowsReplayHost::removeFile(const std::string& path) { DeleteFileW(widePath(path).c_str()); }

long long WindowsReplayHost::fileSize(const std::string& path) { return ::fileSize(path.c_str()); }

std::string WindowsReplayHost::readFrom(const std::string& path, long long offset) {
    std::string text;
    readWholeFile(path, text);
    if (offset < 0 || offset > static_cast<long long>(text.size())) offset = 0;
    return text.substr(static_cast<std::size_t>(offset));
}

std::optional<int32_t> WindowsReplayHost::call(const replay::Call& call) {
    switch (call.kind) {
        case replay::Call::Kind::Init: return dll_->callInit();
        case replay::Call::Kind::Lookup: {
            CardInfoRecord record = call.record;
            return dll_->callGetCardInfoEx(call.card, call.recordGiven ? &record : nullptr,
                                           call.input);
        }
        case replay::Call::Kind::Transaction: return dll_->callTransactionsEx(call.input);
        default: return std::nullopt;
    }
}

// Whether the DLL's requests will reach the replay's server: WinInet, opened
// as the DLL opens it, may send them to the proxy of this account's Internet
// Options. The settings are left alone; the replay stops with the bypass entry
// to add. One request as the DLL would send it, which the server must
// receive, tells the route taken: a bypass entry may not take effect, and a
// proxy chosen by automatic configuration shows only there.
std::string WindowsReplayService::proxyProblem() {
    const std::string& address = server_.address();
    const std::string probe = "hostemu-direct-" + std::to_string(GetCurrentProcessId());
    server_.beginCall({}, std::string(), 0);
    sendPlainHttp(address, "/" + probe, kProbeTimeoutMs);
    const std::vector<replay::Received> received = server_.endCall();
    for (const replay::Received& r : received)
        if (r.path == probe) return std::string();
    const ProxySetting setting = readProxySetting();
    const WindowsVersion windows = readWindowsVersion();
    const std::string options = optionsDialogName(
        catalog_, optionsDialog(windows.major, windows.minor, readInternetExplorerMajor()));
    const std::string fix =
        formatMessage(catalog_, Msg::replay_proxy_fix,
                      {{"advice", bypassAdvice(setting, address, catalog_, options)}});
    const std::string via = configuredProxy(setting, false);
    if (!via.empty())
        return formatMessage(
            catalog_, Msg::replay_proxy_set,
            {{"address", address}, {"proxy", via}, {"fix", fix}, {"options", options}});
    return formatMessage(catalog_, Msg::replay_proxy_in_the_way,
                         {{"address", address}, {"fix", fix}});
}

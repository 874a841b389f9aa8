#include "HostRig.h"

#include <winsock2.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace hostrig {

// The build passes a Unix path; Wine sees the Unix root as drive Z:.
static std::string windowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Dll::Dll(const std::string& path) : module_(windowsPath(path)) {}

static uint32_t ptr32(const void* p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

CallResult Dll::init() const {
    CallResult r{};
    r.result = callWithSlots(proc(kInitExport), nullptr, 0, &r.removed);
    return r;
}

CallResult Dll::getCardInfoEx(int64_t card, void* record, const char* inpBuf, uint32_t inpLen,
                              uint32_t junk, void* junkPtr) const {
    const uint64_t u = static_cast<uint64_t>(card);
    const uint32_t slots[11] = {static_cast<uint32_t>(u),
                                static_cast<uint32_t>(u >> 32),
                                junk,
                                junk ^ 0x5a5a5a5au,
                                ptr32(record),
                                ptr32(inpBuf),
                                inpLen,
                                junk & 0xffffu,
                                ptr32(junkPtr),
                                junk,
                                junk >> 16};
    CallResult r{};
    r.result = callWithSlots(proc(kGetCardInfoExExport), slots, 11, &r.removed);
    return r;
}

CallResult Dll::transactionsEx(const char* inpBuf, uint32_t inpLen, uint32_t junk,
                               void* junkPtr) const {
    const uint32_t slots[8] = {junk,           ~junk,          ptr32(inpBuf), inpLen,
                               junk & 0xffffu, ptr32(junkPtr), junk,          junk >> 16};
    CallResult r{};
    r.result = callWithSlots(proc(kTransactionsExExport), slots, 8, &r.removed);
    return r;
}

void HostTest::SetUp() {
    char buf[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buf);
    previous_ = buf;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    char name[MAX_PATH];
    ASSERT_NE(GetTempFileNameA(tmp, "bv", 0, name), 0u);
    DeleteFileA(name);  // the unique name becomes our folder
    ASSERT_TRUE(CreateDirectoryA(name, nullptr));
    dir_ = name;
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
}

bool ProbeListener::open() {
    if (isOpen()) return true;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    // A probe's connection of the previous test may still linger on the port.
    BOOL yes = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(80);
    at.sin_addr.s_addr = inet_addr(BRISVANE_PROBE_ADDRESS);
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(s, 16) != 0) {
        ADD_FAILURE() << "cannot listen on " << BRISVANE_PROBE_ADDRESS
                      << ":80 for the probe (error " << WSAGetLastError()
                      << "); move it with the CMake cache variable BRISVANE_PROBE_ADDRESS";
        if (s != INVALID_SOCKET) closesocket(s);
        return false;
    }
    socket_ = static_cast<uintptr_t>(s);
    return true;
}

void ProbeListener::close() {
    if (!isOpen()) return;
    closesocket(static_cast<SOCKET>(socket_));
    socket_ = kNone;
}

void HostTest::loadDll(const char* path) {
    dll_ = std::make_unique<Dll>(path);
    ASSERT_TRUE(dll_->loaded()) << "LoadLibrary failed: " << GetLastError();
}

void HostTest::writeConf(const std::string& address, const std::string& token,
                         const std::string& accounts) const {
    writeFile("conf.xml", logtext::confXml(address, logtext::place("-100", token, true), accounts));
}

void HostTest::TearDown() {
    dll_.reset();
    SetCurrentDirectoryA(previous_.c_str());
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

}  // namespace hostrig

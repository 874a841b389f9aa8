#pragma once
// The replay's machine on Windows: a scratch folder with the folder's DLL
// loaded, and the stand-in service on a loopback address.
#include <memory>
#include <string>

#include "ReplayServer.h"
#include "ScratchFolder.h"
#include "host/DllModule.h"
#include "i18n/Messages.h"
#include "replay/ReplayRun.h"

class WindowsReplayHost : public replay::ReplayHost {
  public:
    // `catalog` (the language of its complaints) must outlive the host.
    WindowsReplayHost(const std::string& dllPath, const Catalog& catalog)
        : dllPath_(dllPath), catalog_(catalog) {}
    bool prepare(std::string& complaint) override;
    std::string dllPath() const override { return dllPath_; }
    std::string pathOf(const char* name) const override;
    bool writeFile(const std::string& path, const std::string& bytes) override;
    void removeFile(const std::string& path) override;
    long long fileSize(const std::string& path) override;
    std::string readFrom(const std::string& path, long long offset) override;
    std::optional<int32_t> call(const replay::Call& call) override;

  private:
    std::string dllPath_;
    const Catalog& catalog_;
    // The folder stays the current directory until the DLL is unloaded.
    std::unique_ptr<ScratchFolder> scratch_;
    std::unique_ptr<DllModule> dll_;
};

class WindowsReplayService : public replay::ReplayService {
  public:
    // `catalog` (the language of its complaints) must outlive the service.
    explicit WindowsReplayService(const Catalog& catalog) : catalog_(catalog) {}
    bool start(const std::string& first, std::string& error) override {
        replay::Reason why;
        if (server_.start(first, why)) return true;
        error = replay::sayReason(catalog_, why);
        return false;
    }
    const std::string& address() const override { return server_.address(); }
    std::string proxyProblem() override;
    void beginCall(const std::vector<replay::Attempt>& attempts, const std::string& logPath,
                   long long logOffset) override {
        server_.beginCall(attempts, logPath, logOffset);
    }
    std::vector<replay::Received> endCall() override { return server_.endCall(); }

  private:
    const Catalog& catalog_;
    ReplayServer server_;
};

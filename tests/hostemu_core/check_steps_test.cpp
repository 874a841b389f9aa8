// The connection check: the runner, the steps that read conf.xml, and what
// the network steps make of their probes' findings.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli/Output.h"
#include "confreport/Utf16ConfNote.h"
#include "connectioncheck/CheckStep.h"
#include "connectioncheck/StepJudgement.h"
#include "connectioncheck/TillJudgement.h"
#include "http/Timings.h"

namespace {

StepVerdict okStep(CheckContext&) { return StepVerdict::ok("first", "fine", "early verdict"); }
// Longer than every label of the catalog: one blank after it, the column kept below.
StepVerdict longLabel(CheckContext&) { return StepVerdict::ok("a label longer than all", "x"); }
StepVerdict skippedStep(CheckContext&) { return StepVerdict::skipped("TLS", "not used"); }
StepVerdict lastOk(CheckContext&) {
    StepVerdict r = StepVerdict::ok("last", "done", "all good");
    r.more = {"note"};
    return r;
}
StepVerdict failing(CheckContext&) {
    StepVerdict r = StepVerdict::failed("bad", "broke", "fix it");
    r.more = {"why"};
    return r;
}
StepVerdict silentFailure(CheckContext&) { return StepVerdict::failed("quiet", "", "no room"); }
StepVerdict neverRun(CheckContext&) {
    ADD_FAILURE() << "a step after a failed one ran";
    return StepVerdict::ok("never", "");
}

std::string run(const std::vector<CheckStep>& steps, int& status) {
    CheckContext context;
    StringOutput out;
    status = runCheckSteps(steps, context, out);
    return out.outText();
}

}  // namespace

TEST(CheckRunner, PrintsEachStepAndStopsAtTheFirstFailure) {
    struct Case {
        std::vector<CheckStep> steps;
        int status;
        std::string shown;
    };
    const Case cases[] = {
        {{okStep, skippedStep, longLabel, lastOk},
         0,
         "  first            fine\n  TLS              not used\n  a label longer than all x\n  "
         "last             done\n"
         "                   note\nVerdict: OK: all good\n"},
        {{okStep}, 0, "  first            fine\nVerdict: OK: early verdict\n"},
        {{okStep, failing, neverRun},
         1,
         "  first            fine\n  bad              FAILED: broke\n                   why\n"
         "Verdict: FAILED: fix it\n"},
        {{silentFailure, neverRun}, 1, "Verdict: FAILED: no room\n"},
    };
    for (const Case& c : cases) {
        int status = -1;
        EXPECT_EQ(run(c.steps, status), c.shown);
        EXPECT_EQ(status, c.status);
    }
}

class ConfStepsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ =
            (std::filesystem::temp_directory_path() /
             ("hostemu-conf-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml"))
                .string();
    }
    void TearDown() override { std::remove(path_.c_str()); }
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    // The three steps in order, up to the first failure: "label|status|line|advice" each.
    std::string steps(bool hasPlace = false, int32_t place = -1) {
        CheckContext c;
        c.configPath = path_;
        c.hasPlace = hasPlace;
        c.place = place;
        std::string shown;
        for (CheckStep step : {confXmlStep, serviceStep, tokenStep}) {
            const StepVerdict r = step(c);
            const bool failed = r.status == StepVerdict::Status::Failed;
            shown += r.label + "|" + (failed ? "FAILED|" : "ok|") + r.line +
                     (failed ? "|" + r.advice : "") + "\n";
            if (failed) break;
        }
        return shown;
    }
    std::string path_;
};

TEST_F(ConfStepsTest, ReadConfXmlByTheDllsRules) {
    const std::string place1 =
        "<PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken>abcdefghijkl</LoyltyApiToken>"
        "</PlaceOfService>";
    const std::string places =
        place1 +
        "<PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken Default=\"true\"></LoyltyApiToken>"
        "</PlaceOfService>";
    EXPECT_EQ(steps(), "conf.xml|FAILED|conf.xml is missing: " + path_ +
                           "|conf.xml is missing: " + path_ + "\n");

    // UTF-16 with its byte order mark: read, and named.
    std::string utf16 = "\xFF\xFE";
    for (char ch : std::string("<Configuration><ApiAddress>h</ApiAddress></Configuration>"))
        utf16 += std::string(1, ch) + '\0';
    write(utf16);
    CheckContext c;
    c.configPath = path_;
    const StepVerdict wide = confXmlStep(c);
    EXPECT_EQ(wide.status, StepVerdict::Status::Ok);
    EXPECT_EQ(wide.more, std::vector<std::string>{utf16ConfNote()});
    // The note and the masked token's length in the reader's language.
    c.catalog = &kRussianCatalog;
    EXPECT_EQ(confXmlStep(c).more, std::vector<std::string>{utf16ConfNote(kRussianCatalog)});
    write(
        "<Configuration><PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default=\"true\">"
        "abcdefghijkl</LoyltyApiToken></PlaceOfService></Configuration>");
    CheckContext ru;
    ru.configPath = path_;
    ru.catalog = &kRussianCatalog;
    for (CheckStep step : {confXmlStep, serviceStep}) step(ru);
    EXPECT_NE(tokenStep(ru).line.find("(12 символов)"), std::string::npos) << tokenStep(ru).line;
    // Advice on a refused token names the place whose token went out.
    EXPECT_EQ(ru.tokenPlace, "место по умолчанию (PlaceCode 1)");
    ru.hasPlace = true;
    ru.place = 1;
    tokenStep(ru);
    EXPECT_EQ(ru.tokenPlace, "место обслуживания с PlaceCode 1");
    c.catalog = &kEnglishCatalog;
    write("<Configuration/>");
    EXPECT_EQ(confXmlStep(c).more, std::vector<std::string>{});

    write("<Configuration><ApiAddress>x");
    EXPECT_EQ(steps().rfind("conf.xml|FAILED|conf.xml cannot be read as XML (", 0), 0u);

    write("<configuration/>");
    EXPECT_EQ(steps(),
              "conf.xml|FAILED|conf.xml has no <Configuration> element|conf.xml has no "
              "<Configuration> element\n");

    write("<Configuration><ApiAddress> h </ApiAddress></Configuration>");
    EXPECT_EQ(steps(), "conf.xml|ok|" + path_ +
                           "\nservice|FAILED|ApiAddress \" h \" is empty or holds blanks or line "
                           "feeds: no request can reach the service|ApiAddress \" h \" is empty or "
                           "holds blanks or line feeds: no request can reach the service\n");

    write("<Configuration><ApiAddress>h.test</ApiAddress><SSL>true</SSL>" + places +
          "</Configuration>");
    EXPECT_EQ(steps(true, 1),
              "conf.xml|ok|" + path_ +
                  "\nservice|ok|ApiAddress \"h.test\", SSL \"true\": https://h.test:443\n"
                  "token|ok|\"abcd******kl\" (12 characters) for order category 1 (--place)\n");
    const std::string empty =
        "the LoyltyApiToken chosen for order category -1 (its place's, or "
        "the fallback) is empty: the DLL fails every call";
    EXPECT_NE(steps().find("token|FAILED|" + empty + "|" + empty), std::string::npos);

    write("<Configuration><ApiAddress>h</ApiAddress><SSL>yes</SSL>" + place1 + "</Configuration>");
    const std::string none =
        "no place of service has PlaceCode 7 and none is marked "
        "Default=\"true\": the DLL finds no token";
    const std::string shown = steps(true, 7);
    EXPECT_NE(shown.find("service|ok|ApiAddress \"h\", SSL \"yes\": http://h:80 (only SSL \"true\" "
                         "turns TLS on)"),
              std::string::npos);
    EXPECT_NE(shown.find("token|FAILED|" + none + "|" + none), std::string::npos);
    // The way on: a place of its own for the check.
    EXPECT_NE(shown.find(none + ": a check with CHECKDATA still finds its place's token: check a "
                                "place with hostemu \"\" check --place CODE, CODE one of the "
                                "places' codes: 1\n"),
              std::string::npos)
        << shown;
}

TEST(StepJudgement, FindsTheProxyWinInetUses) {
    struct Case {
        ProxySetting setting;
        std::string host;
        bool secure;
        std::string line;
        std::string target;
        uint16_t port;
    };
    const auto manual = [](std::string proxy, std::string bypass) {
        ProxySetting s;
        s.known = true;
        s.direct = false;
        s.proxy = std::move(proxy);
        s.bypass = std::move(bypass);
        return s;
    };
    ProxySetting unknown;
    ProxySetting direct;
    direct.known = true;
    const Case cases[] = {
        {unknown, "svc.test", false,
         "cannot be read from Internet Options; the steps below connect directly", "svc.test", 80},
        {direct, "svc.test", true, "none: this Windows account's Internet Options connect directly",
         "svc.test", 443},
        {manual("p:3128", ""), "svc.test", true,
         "p:3128 (bypass list: none): WinInet goes through p:3128", "p", 3128},
        {manual("http=h:81;https=s:8443", "<local>"), "svc.test", true,
         "http=h:81;https=s:8443 (bypass list: <local>): WinInet goes through s:8443", "s", 8443},
        {manual("HTTP=h:81", ""), "svc.test", false,
         "HTTP=h:81 (bypass list: none): WinInet goes through h:81", "h", 81},
        {manual("http://p", ""), "svc.test", false,
         "http://p (bypass list: none): WinInet goes through p", "p", 80},
        {manual("p:3128", "<local>"), "till", false,
         "p:3128, but till is on its bypass list (<local>): WinInet connects directly", "till", 80},
        {manual("p:3128", "*.Example.com; 10.*"), "API.example.com", false,
         "p:3128, but API.example.com is on its bypass list (*.Example.com; 10.*): WinInet "
         "connects directly",
         "API.example.com", 80},
    };
    for (const Case& c : cases) {
        CheckContext context;
        context.host = c.host;
        context.secure = c.secure;
        const StepVerdict r = judgeProxy(c.setting, RouteTaken(), context);
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(context.target, c.target) << c.line;
        EXPECT_EQ(context.port, c.port) << c.line;
        EXPECT_TRUE(r.more.empty());
    }
    ProxySetting automatic = direct;
    automatic.autoDetect = true;
    automatic.autoConfigUrl = "http://wpad/proxy.pac";
    CheckContext context;
    EXPECT_EQ(judgeProxy(automatic, RouteTaken(), context).more,
              std::vector<std::string>{
                  "automatic proxy configuration is on (detect settings, script "
                  "http://wpad/proxy.pac): WinInet tries it before the setting above"});
}

// The route WinInet took outweighs the bypass list as the check reads it; the
// advice never names an entry that is already there.
TEST(StepJudgement, ReportsTheRouteTaken) {
    struct Case {
        std::string bypass;
        std::string lookedUp;  // what WinInet's callback named; empty: not probed
        std::string line;
        std::string target;
        std::string advice;  // the context's bypass advice
    };
    const std::string add =
        "add 10.1.2.3 to the proxy's exceptions (Internet Options, Win+R → inetcpl.cpl: "
        "Connections, LAN settings, Advanced): the exact name first; a pattern such as 10.1.2.* "
        "serves too, as Windows documents '*' in exceptions";
    const Case cases[] = {
        {"10.1.2.*", "p",
         "p:3128; the bypass list (10.1.2.*) seems to name 10.1.2.3 (10.1.2.*), "
         "but the request went through p:3128: the bypass entry did not take effect for WinInet",
         "p",
         "the exception 10.1.2.* is already there but did not take effect for WinInet: add the "
         "exact name 10.1.2.3 to the proxy's exceptions (Internet Options, Win+R → "
         "inetcpl.cpl: Connections, LAN settings, Advanced)"},
        {"10.1.2.3", "P",
         "p:3128; the bypass list (10.1.2.3) seems to name 10.1.2.3 (10.1.2.3), "
         "but the request went through p:3128: the bypass entry did not take effect for WinInet",
         "p",
         "10.1.2.3 is already among the proxy's exceptions, but WinInet did not take it: ask "
         "whoever manages this till's proxy settings (a policy or automatic configuration may "
         "override them)"},
        {"10.1.2.3", "10.1.2.3",
         "p:3128, but 10.1.2.3 is on its bypass list (10.1.2.3): WinInet connects directly",
         "10.1.2.3", ""},
        {"", "10.1.2.3",
         "p:3128 (bypass list: none): the request to 10.1.2.3 went directly all the same",
         "10.1.2.3", ""},
        {"", "p", "p:3128 (bypass list: none): WinInet goes through p:3128", "p", add},
        {"", "", "p:3128 (bypass list: none): WinInet goes through p:3128", "p", add},
    };
    for (const Case& c : cases) {
        ProxySetting setting;
        setting.known = true;
        setting.direct = false;
        setting.proxy = "p:3128";
        setting.bypass = c.bypass;
        RouteTaken route;
        route.probed = !c.lookedUp.empty();
        route.name = c.lookedUp;
        CheckContext context;
        context.host = "10.1.2.3";
        const StepVerdict r = judgeProxy(setting, route, context);
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(context.target, c.target) << c.line;
        EXPECT_EQ(context.bypassAdvice, c.advice) << c.line;
    }
    // A proxy's 407 then advises the same.
    GuestInfoExchange x;
    x.status = 407;
    x.text = "<html>login</html>";
    x.bypassAdvice = "add it";
    EXPECT_EQ(judgeGuestInfo(x, "", "now").more.back(),
              "a proxy asks for a login; the DLL has no place for credentials: let the till "
              "through the proxy by its address, or add it");
}

TEST(StepJudgement, NamesTheCauseOfATlsFailure) {
    TlsOutcome good;
    good.certificateSeen = true;
    good.subject = "CN=svc\r\n";
    good.issuer = "CN=ca";
    good.validFrom = 1767225600;  // 2026-01-01 00:00 UTC
    good.validTo = 0;             // not known
    StepVerdict r = judgeTls(good, "svc", "now");
    EXPECT_EQ(r.status, StepVerdict::Status::Ok);
    EXPECT_EQ(r.line, "handshake done, certificate trusted");
    ASSERT_EQ(r.more.size(), 1u);
    EXPECT_EQ(r.more[0], "certificate of CN=svc, issued by CN=ca, valid 2026-01-01 00:00 UTC to ?");
    EXPECT_EQ(judgeTls(good, "svc", "now", kRussianCatalog).more[0],
              "сертификат: CN=svc; издатель: CN=ca; действует с 01.01.2026 00:00 UTC по ?");

    // Revocation cannot be checked because the issuer is unknown: the issuer is the cause.
    TlsOutcome bad;
    bad.firstError = 12057;
    bad.problems = {12057, 12045};
    r = judgeTls(bad, "svc", "now");
    EXPECT_EQ(r.status, StepVerdict::Status::Failed);
    // The verdict names the code the DLL's log shows for the same server.
    const std::string logs = " (the DLL logs \"" + loggedErrorText(12057) + "\")";
    EXPECT_EQ(r.advice, certificateAdvice(12045, "now") + logs);
    EXPECT_EQ(r.more.size(), 2u);  // "past it: ..." and its advice

    bad.problems = {12057};
    EXPECT_EQ(judgeTls(bad, "svc", "now").advice, certificateAdvice(12057, "now") + logs);
    // A refused handshake: no certificate, and the code the DLL logs.
    bad.firstError = 12157;
    bad.problems = {12157};
    r = judgeTls(bad, "svc", "now");
    EXPECT_EQ(r.advice, certificateAdvice(12157, "now") + " (the DLL logs \"" +
                            loggedErrorText(12157) + "\")");
    EXPECT_NE(r.advice.find("a plain HTTP service on port 443"), std::string::npos);
    bad.firstError = 12029;
    bad.problems = {12029};
    EXPECT_EQ(judgeTls(bad, "svc", "now").advice.rfind("no TLS connection to svc: ", 0), 0u);
    EXPECT_NE(certificateAdvice(12037, "2026-12-07 17:30 (local time)")
                  .find("now 2026-12-07 17:30 (local time)"),
              std::string::npos);
}

// OK only when the DLL's own reading of the reply takes it (Status 1 or 2 in
// an HTTP success); otherwise the verdict quotes the service and the DLL's line.
TEST(StepJudgement, JudgesTheGuestInfoReply) {
    struct Case {
        GuestInfoExchange x;
        StepVerdict::Status status;
        std::string line;
        std::string advice;
    };
    const std::string place = "the default place (PlaceCode 1)";
    const auto reply = [&](uint32_t status, std::string text) {
        GuestInfoExchange x;
        x.sent = "POST v1/GuestInfo/<token> {\"CardToken\":0}";
        x.status = status;
        x.text = std::move(text);
        x.emptyReply = x.text.empty();
        x.place = place;
        return x;
    };
    GuestInfoExchange timedOut = reply(0, "");
    timedOut.timedOut = true;
    GuestInfoExchange closed = reply(0, "");
    GuestInfoExchange refused = reply(0, "");
    refused.errorCode = 12045;
    const std::string sent = "POST v1/GuestInfo/<token> {\"CardToken\":0}: ";
    const std::string limit = std::to_string(timings::kSendLimitMs / 1000);
    const std::string token = statusAdvice(401, place);
    const std::string notUsable = "the DLL logs \"ERROR service reply not usable: reply member ";
    const Case cases[] = {
        {reply(200, "{\"Status\":1}"), StepVerdict::Status::Ok,
         sent + "HTTP status 200, 12 bytes, JSON with \"Status\" 1",
         "the service answered with JSON (HTTP status 200)"},
        {reply(200, "{\"Status\":2,\"ErrorMessage\":\"no such card\"}"), StepVerdict::Status::Ok,
         sent + "HTTP status 200, 42 bytes, JSON with \"Status\" 2",
         "the service answered with JSON (HTTP status 200)"},
        // The service refuses the token: every lookup of the till ends so.
        {reply(200, "{\"Status\":0,\"Message\":\"Invalid token\"}"), StepVerdict::Status::Failed,
         sent + "HTTP status 200, 38 bytes, JSON with \"Status\" 0",
         "HTTP status 200 with the service's JSON, \"Status\" 0 (\"Invalid token\"): the DLL logs "
         "\"Error: status != 1 RETURN 1\": " +
             token},
        {reply(200, "{\"Status\":0}"), StepVerdict::Status::Failed,
         sent + "HTTP status 200, 12 bytes, JSON with \"Status\" 0",
         "HTTP status 200 with the service's JSON, \"Status\" 0 (\"{\"Status\":0}\"): the DLL "
         "logs \"Error: status != 1 RETURN 1\""},
        {reply(404, "{\"Status\":0}"), StepVerdict::Status::Failed,
         sent + "HTTP status 404, 12 bytes, JSON with \"Status\" 0",
         "HTTP status 404 with the service's JSON, \"Status\" 0 (\"{\"Status\":0}\"): the DLL "
         "logs \"Error: status != 1 RETURN 1\": " +
             statusAdvice(404)},
        {reply(403, ""), StepVerdict::Status::Failed, sent + "HTTP status 403 with an empty body",
         "the service's reply is empty (HTTP status 403): the DLL logs \"HTTP status 403\" and "
         "the lookup returns 1: " +
             token},
        {reply(401, "{\"Message\":\"Authorization has been denied\"}"), StepVerdict::Status::Failed,
         sent + "HTTP status 401, 43 bytes, JSON without \"Status\"",
         "HTTP status 401 with JSON that is not the service's reply (no \"Status\") "
         "(\"Authorization has been denied\"): " +
             notUsable + "\"Status\" is missing (expected an integer) RETURN 1\": " + token},
        // The service refuses the card, whatever its text: it took the request.
        {reply(200, "{\"Status\":2}"), StepVerdict::Status::Ok,
         sent + "HTTP status 200, 12 bytes, JSON with \"Status\" 2",
         "the service answered with JSON (HTTP status 200)"},
        {reply(200, "{\"Status\":3,\"ErrorMessage\":\"later\"}"), StepVerdict::Status::Failed,
         sent + "HTTP status 200, 35 bytes, JSON with \"Status\" 3",
         "HTTP status 200 with the service's JSON, \"Status\" 3 (\"later\"): the DLL logs "
         "\"Error: status != 1 RETURN 1\""},
        {reply(200, "{\"Status\":\"1\"}"), StepVerdict::Status::Failed,
         sent + "HTTP status 200, 14 bytes, JSON with \"Status\" that is not a whole number",
         "HTTP status 200 with JSON whose \"Status\" is not a whole number "
         "(\"{\"Status\":\"1\"}\"): " +
             notUsable + "\"Status\" is not a 32-bit integer RETURN 1\""},
        {reply(500, "{\"Status\":1}"), StepVerdict::Status::Failed,
         sent + "HTTP status 500, 12 bytes, JSON with \"Status\" 1",
         "HTTP status 500 with the service's JSON, \"Status\" 1 (\"{\"Status\":1}\"): " +
             statusAdvice(500)},
        {reply(502, "<html>Bad gateway</html>"), StepVerdict::Status::Failed,
         sent + "HTTP status 502, 24 bytes, not JSON",
         "HTTP status 502 with a reply that is not JSON (\"<html>Bad gateway</html>\"): the DLL "
         "logs \"Error: not ok jsonGuestInfo RETURN 1\": " +
             statusAdvice(502)},
        {timedOut, StepVerdict::Status::Failed, sent + "no answer within " + limit + " s",
         "the service (or a gateway in front of it) does not answer within " + limit + " s"},
        {reply(200, ""), StepVerdict::Status::Failed, sent + "HTTP status 200 with an empty body",
         "the service's reply is empty (HTTP status 200): the DLL logs \"ERROR WHILE SENDING "
         "bRead == FALSE  ||  dwBytesRead == 0 v1/GuestInfo/<token>\" and the lookup returns 1"},
        {closed, StepVerdict::Status::Failed, sent + "the connection was closed without an answer",
         "the request got no answer: something closes the connection after the request (the "
         "service, a firewall or a proxy in between)"},
        {refused, StepVerdict::Status::Failed, sent + systemText(12045, kEnglishCatalog),
         "the request failed: " + certificateAdvice(12045, "now") + " (the DLL logs \"" +
             loggedErrorText(12045) + "\")"},
    };
    for (const Case& c : cases) {
        const StepVerdict r = judgeGuestInfo(c.x, "s3cr3t", "now");
        EXPECT_EQ(r.status, c.status) << c.line;
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(r.advice, c.advice);
    }
    EXPECT_NE(token.find("LoyltyApiToken of the default place (PlaceCode 1) first"),
              std::string::npos);
    EXPECT_NE(statusAdvice(404).find("ApiAddress, SSL (port 80 or 443) and the path v1/GuestInfo/"),
              std::string::npos);
}

TEST(StepJudgement, AdvisesOnTheCodesAnInstallerMeets) {
    // A failed send names the advice for its code, never only the bare code.
    const std::pair<uint32_t, std::string> cases[] = {
        {12037, "the till's clock, now NOW"},
        {12038, "ApiAddress must be the name the certificate names"},
        {12045, "install the root certificate updates"},
        {12057, "revocation servers"},
        {12157, "this Windows needs TLS 1.2"},
    };
    for (const auto& [code, words] : cases) {
        GuestInfoExchange x;
        x.sent = "POST";
        x.emptyReply = true;
        x.errorCode = code;
        const StepVerdict r = judgeGuestInfo(x, "tok", "NOW");
        EXPECT_EQ(r.status, StepVerdict::Status::Failed) << code;
        EXPECT_NE(r.advice.find(words), std::string::npos) << code << ": " << r.advice;
    }
    EXPECT_EQ(certificateAdvice(12029, "now"), "");
    for (uint32_t status : {401u, 403u, 404u, 407u, 502u})
        EXPECT_NE(statusAdvice(status), "") << status;
}

TEST(StepJudgement, MasksTheTokenInTheShownReply) {
    EXPECT_EQ(shownReply("{\"Path\":\"v1/x/secret-token-1\"}", "secret-token-1"),
              "{\"Path\":\"v1/x/\"secr********-1\" (14 characters)\"}");
    // A token that its own masked form contains is replaced once per place.
    EXPECT_EQ(shownReply("a-a", "a"), "\"*\" (1 character)-\"*\" (1 character)");
    EXPECT_EQ(shownReply(std::string(400, 'x'), ""), std::string(300, 'x') + " ...");
}

namespace {

// Steps as an installer meets them, each judged in the reader's language.
StepVerdict noConf(CheckContext& c) {
    c.configPath = "C:\\till\\conf.xml-none";
    return confXmlStep(c);
}
GuestInfoExchange guestInfoReply(uint32_t status, std::string text) {
    GuestInfoExchange x;
    x.sent = "POST v1/GuestInfo/<token> {}";
    x.status = status;
    x.text = std::move(text);
    return x;
}
StepVerdict proxyLogin(CheckContext& c) {
    return judgeGuestInfo(guestInfoReply(407, "<html>login</html>"), "", "now", *c.catalog);
}
StepVerdict untrustedIssuer(CheckContext& c) {
    TlsOutcome tls;
    tls.firstError = 12045;
    tls.problems = {12045};
    return judgeTls(tls, "svc", "now", *c.catalog);
}
StepVerdict answered(CheckContext& c) {
    return judgeGuestInfo(guestInfoReply(200, "{\"Status\":1}"), "", "now", *c.catalog);
}
StepVerdict behindClock(CheckContext& c) {
    ClockReading clock;
    clock.utcNow = 1796675400 - 7200;
    clock.localTime = "2026-12-07 21:30";
    clock.offsetMinutes = 180;
    clock.dateHeader = "Mon, 07 Dec 2026 20:30:00 GMT";
    return judgeClock(clock, *c.catalog);
}

}  // namespace

// The same steps in Russian: lines, warnings, advice and verdict follow the
// reader; what the service sent and Windows' names stay as they came.
TEST(CheckRunner, SpeaksRussianWhenTheReaderDoes) {
    struct Case {
        std::vector<CheckStep> steps;
        int status;
        std::string shown;
    };
    const Case cases[] = {
        {{noConf},
         1,
         "  conf.xml              ОШИБКА: нет файла настроек conf.xml: C:\\till\\conf.xml-none\n"
         "Итог: ОШИБКА: нет файла настроек conf.xml: C:\\till\\conf.xml-none\n"},
        {{proxyLogin},
         1,
         "  GuestInfo             ОШИБКА: POST v1/GuestInfo/<token> {}: код HTTP 407, байт: 18, "
         "не JSON\n"
         "                        ответ: <html>login</html>\n"
         "                        прокси-сервер требует имя пользователя и пароль, а модулю их "
         "негде взять: разрешите кассе доступ через прокси-сервер по её адресу или добавьте "
         "узел сервера программы лояльности в исключения прокси-сервера\n"
         "Итог: ОШИБКА: код HTTP 407 и ответ не в формате JSON (\"<html>login</html>\"): "
         "модуль пишет в журнал \"Error: not ok jsonGuestInfo RETURN 1\": прокси-сервер "
         "требует имя пользователя и пароль, а модулю их негде взять: разрешите кассе доступ "
         "через прокси-сервер по её адресу или добавьте узел сервера программы лояльности в "
         "исключения прокси-сервера\n"},
        {{answered, behindClock},
         0,
         "  GuestInfo             POST v1/GuestInfo/<token> {}: код HTTP 200, байт: 12, JSON с "
         "\"Status\" 1\n"
         "                        ответ: {\"Status\":1}\n"
         "  часы                  2026-12-07 21:30 (UTC+03:00); заголовок Date в ответе сервера: "
         "07.12.2026 20:30 UTC, разница +7200 с (часы кассы отстают)\n"
         "                        ВНИМАНИЕ: часы кассы отстают от часов сервера программы "
         "лояльности на 2 ч. При неверных часах сертификаты и подписанные токены не проходят "
         "проверку. Установите на кассе верные дату, время и часовой пояс (или сервер "
         "времени).\n"
         "Итог: ОК: сервер программы лояльности ответил в формате JSON (код HTTP 200) "
         "(выше есть 1 предупреждение)\n"},
    };
    for (const Case& c : cases) {
        CheckContext context;
        StringOutput out(kRussianCatalog);
        EXPECT_EQ(runCheckSteps(c.steps, context, out), c.status);
        EXPECT_EQ(out.outText(), c.shown);
    }
    // The TLS failure's advice names what to install, and the error's text, in
    // Russian; the DLL's log line stays as it is written.
    CheckContext context;
    StringOutput out(kRussianCatalog);
    runCheckSteps({untrustedIssuer}, context, out);
    for (const char* part :
         {"ОШИБКА: ошибка Windows 12045: Сертификат сервера выдан центром "
          "сертификации, которому Windows не доверяет.\n",
          "Итог: ОШИБКА: Windows на кассе не доверяет издателю сертификата: установите "
          "обновления корневых сертификатов",
          "(модуль пишет в журнал \"Windows error 12045: The server's certificate is issued by "
          "an untrusted certificate authority.\")"})
        EXPECT_NE(out.outText().find(part), std::string::npos) << out.outText();
}

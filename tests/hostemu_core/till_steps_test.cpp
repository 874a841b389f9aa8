// The check's steps about the till's own Windows: what they make of the
// version, the account, Internet Options, the clock, the certificate and its
// revocation servers.
#include <gtest/gtest.h>

#include "cli/Output.h"
#include "connectioncheck/CheckStep.h"
#include "connectioncheck/TillJudgement.h"

namespace {

bool hasText(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& l : lines) {
        if (l.find(part) != std::string::npos) return true;
    }
    return false;
}

uint32_t fakeTicks() {
    static uint32_t now = 1000;
    return now += 7;
}

StepVerdict warned(CheckContext&) {
    StepVerdict r = StepVerdict::ok("clock", "off", "answered");
    r.warnings = {"hours off"};
    return r;
}
StepVerdict failedAfterWarning(CheckContext&) { return StepVerdict::failed("TLS", "no", "fix"); }

}  // namespace

TEST(TillSteps, RunnerShowsTimesAndCountsWarningsWithoutFailing) {
    struct Case {
        std::vector<CheckStep> steps;
        int status;
        std::string shown;
    };
    const Case cases[] = {
        {{warned, warned},
         0,
         "  clock            off (7 ms)\n                   WARNING: hours off\n"
         "  clock            off (7 ms)\n                   WARNING: hours off\n"
         "Verdict: OK: answered (2 warnings above)\n"},
        {{warned, failedAfterWarning},
         1,
         "  clock            off (7 ms)\n                   WARNING: hours off\n"
         "  TLS              FAILED: no (7 ms)\nVerdict: FAILED: fix\n"},
    };
    for (const Case& c : cases) {
        CheckContext context;
        context.tickMs = fakeTicks;
        StringOutput out;
        EXPECT_EQ(runCheckSteps(c.steps, context, out), c.status);
        EXPECT_EQ(out.outText(), c.shown);
    }
}

TEST(TillSteps, NamesWindowsAndWarnsBelowXpSp3) {
    struct Case {
        uint32_t major, minor, build;
        bool server;
        uint16_t sp;
        std::string name;
        bool warns;
    };
    const Case cases[] = {
        {5, 1, 2600, false, 3, "Windows XP", false},
        {5, 1, 2600, false, 2, "Windows XP", true},
        {5, 2, 3790, true, 2, "Windows Server 2003", false},
        {6, 1, 7601, false, 1, "Windows 7", false},
        {6, 3, 9600, false, 0, "Windows 8.1", false},
        {10, 0, 19045, false, 0, "Windows 10", false},
        {10, 0, 22631, false, 0, "Windows 11", false},
        {10, 0, 17763, true, 0, "Windows Server 2019", false},
        {11, 2, 1, false, 0, "Windows 11.2", false},
    };
    for (const Case& c : cases) {
        WindowsVersion v;
        v.known = true;
        v.major = c.major, v.minor = c.minor, v.build = c.build, v.server = c.server;
        v.servicePackMajor = c.sp;
        EXPECT_EQ(windowsName(v), c.name);
        EXPECT_EQ(judgeWindows(v).warnings.empty(), !c.warns) << c.name << " sp " << c.sp;
    }
    WindowsVersion wow;
    wow.known = wow.bitnessKnown = wow.windows64 = true;
    wow.major = 6, wow.minor = 1, wow.build = 7601, wow.servicePack = "Service Pack 1";
    EXPECT_EQ(judgeWindows(wow).line,
              "Windows 7 (6.1, build 7601, Service Pack 1), 64-bit Windows (hostemu and the DLL "
              "run as 32-bit programs)");
    EXPECT_EQ(judgeWindows(WindowsVersion{}).line, "version not available on this Windows");
}

TEST(TillSteps, WarnsWhenTheAccountRunsAsAService) {
    struct Case {
        uint32_t session;
        std::string station;
        bool visible;
        uint32_t major;
        bool warns;
    };
    const Case cases[] = {
        {1, "WinSta0", true, 10, false},
        {0, "WinSta0", true, 5, false},  // XP: the console user's session is 0
        {0, "WinSta0", true, 6, true},   // Vista on: session 0 is the services'
        {0, "Service-0x0-3e7$", false, 5, true},
        {2, "WinSta0", false, 10, true},
    };
    for (const Case& c : cases) {
        AccountInfo a;
        a.user = "pos";
        a.sessionKnown = true;
        a.session = c.session;
        a.station = c.station;
        a.stationVisible = c.visible;
        const StepVerdict r = judgeAccount(a, c.major);
        EXPECT_EQ(r.status, StepVerdict::Status::Ok);
        EXPECT_EQ(!r.warnings.empty(), c.warns) << c.session << " " << c.station;
        EXPECT_TRUE(hasText(r.more, "run the check as the Windows account the POS host runs as"));
    }
}

TEST(TillSteps, DecidesWhetherWinInetHasTls12) {
    const RegistryNumber none, noTls12{true, 0xA0}, withTls12{true, 0xA80}, off{true, 0},
        on{true, 1};
    struct Case {
        const char* name;
        uint32_t major, minor;
        RegistryNumber machinePolicy, user, tls12Enabled;
        Tls12 state;
        const char* why;
    };
    const Case cases[] = {
        {"10, nothing set", 10, 0, none, none, none, Tls12::Available, "the default has it"},
        {"10, user without", 10, 0, none, noTls12, none, Tls12::NotAvailable,
         "this account's Internet Options (0xA0) leaves TLS 1.2 out"},
        {"10, policy overrides user", 10, 0, noTls12, withTls12, none, Tls12::NotAvailable,
         "a policy sets it"},
        {"10, policy has it", 10, 0, withTls12, noTls12, none, Tls12::Available,
         "the machine's policy has it"},
        {"10, schannel off", 10, 0, none, withTls12, off, Tls12::NotAvailable, "Enabled=0"},
        {"7, nothing set", 6, 1, none, none, none, Tls12::NotKnown, "Internet Explorer 11"},
        {"7, ticked", 6, 1, none, withTls12, none, Tls12::Available, "has it"},
        {"7, schannel off", 6, 1, none, withTls12, off, Tls12::NotAvailable, "Enabled=0"},
        {"XP, nothing set", 5, 1, none, none, none, Tls12::NotAvailable, "no TLS 1.2 of its own"},
        {"XP, ticked only", 5, 1, none, withTls12, none, Tls12::NotAvailable, "update"},
        {"XP, update enabled", 5, 1, none, withTls12, on, Tls12::Available, "enabled"},
        {"Vista, update enabled, not ticked", 6, 0, none, noTls12, on, Tls12::NotAvailable,
         "leaves TLS 1.2 out"},
    };
    for (const Case& c : cases) {
        InternetOptions o;
        o.machinePolicy = c.machinePolicy;
        o.user = c.user;
        o.tls12Enabled = c.tls12Enabled;
        const Tls12Verdict v =
            tls12Verdict(o, c.major, c.minor, optionsDialog(c.major, c.minor, 0));
        EXPECT_EQ(v.state, c.state) << c.name;
        EXPECT_NE(v.why.find(c.why), std::string::npos) << c.name << ": " << v.why;
    }
    EXPECT_EQ(protocolNames(0xA80), "TLS 1.0, TLS 1.1, TLS 1.2");
    EXPECT_EQ(protocolNames(0xA0), "SSL 3.0, TLS 1.0");
    EXPECT_EQ(protocolNames(0x2A00), "TLS 1.1, TLS 1.2, TLS 1.3");
    EXPECT_EQ(protocolNames(0x1), "none");
}

// Internet Options as the till's Windows names it, in Russian and in the
// advice that sends the reader there.
TEST(TillSteps, NamesInternetOptionsAsThisWindowsDoes) {
    struct Case {
        const char* name;
        uint32_t major, minor, internetExplorer;
        const char* russian;
        const char* label;
    };
    const Case cases[] = {
        {"XP with IE 8", 5, 1, 8, "«Свойства обозревателя»", "свойства обозревателя"},
        {"Vista, IE not read", 6, 0, 0, "«Свойства обозревателя»", "свойства обозревателя"},
        {"7 with IE 8", 6, 1, 8, "«Свойства обозревателя»", "свойства обозревателя"},
        {"7 with IE 9", 6, 1, 9, "«Свойства обозревателя»", "свойства обозревателя"},
        {"7 with IE 11", 6, 1, 11, "«Свойства браузера»", "свойства браузера"},
        {"7, IE not read", 6, 1, 0, "«Свойства браузера» или «Свойства обозревателя»",
         "свойства браузера"},
        {"8.1", 6, 3, 11, "«Свойства браузера»", "свойства браузера"},
        {"10, IE not read", 10, 0, 0, "«Свойства браузера»", "свойства браузера"},
        {"Windows not read", 0, 0, 0, "«Свойства браузера» или «Свойства обозревателя»",
         "свойства браузера"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OptionsDialog d = optionsDialog(c.major, c.minor, c.internetExplorer);
        EXPECT_EQ(optionsDialogName(kRussianCatalog, d), c.russian);
        EXPECT_EQ(optionsDialogLabel(kRussianCatalog, d), c.label);
        EXPECT_EQ(optionsDialogName(kEnglishCatalog, d), "Internet Options");
        InternetOptions o;
        o.user = {true, 0xA0};
        const std::string why = tls12Verdict(o, c.major, c.minor, d, kRussianCatalog).why;
        EXPECT_NE(
            why.find(std::string("SecureProtocols (окно ") + c.russian + " этой учётной записи"),
            std::string::npos)
            << why;
        EXPECT_NE(why.find("Win+R → inetcpl.cpl"), std::string::npos) << why;
    }
    // svcVersion first: IE 10 and 11 leave "9.10..." and "9.11..." in Version.
    EXPECT_EQ(internetExplorerMajor("11.0.9600.19597", "9.11.9600.19597"), 11u);
    EXPECT_EQ(internetExplorerMajor("", "8.0.7601.17514"), 8u);
    EXPECT_EQ(internetExplorerMajor("", ""), 0u);
    EXPECT_EQ(internetExplorerMajor("abc", "x9"), 0u);
}

TEST(TillSteps, InternetOptionsFailOnlyForTls12MissingUnderSsl) {
    struct Case {
        const char* name;
        bool secure;
        RegistryNumber user;
        uint32_t state;
        RegistryNumber offline;
        bool autoDetect;
        StepVerdict::Status status;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"plain HTTP without TLS 1.2",
         false,
         {true, 0xA0},
         1,
         {},
         false,
         StepVerdict::Status::Ok,
         0},
        {"SSL without TLS 1.2", true, {true, 0xA0}, 1, {}, false, StepVerdict::Status::Failed, 0},
        {"SSL with TLS 1.2", true, {true, 0xA80}, 1, {}, false, StepVerdict::Status::Ok, 0},
        {"offline by state", false, {}, 0x10, {}, false, StepVerdict::Status::Ok, 1},
        {"offline by registry", false, {}, 1, {true, 1}, false, StepVerdict::Status::Ok, 1},
        {"offline value 0", false, {}, 1, {true, 0}, false, StepVerdict::Status::Ok, 0},
        {"auto detection", true, {}, 1, {}, true, StepVerdict::Status::Ok, 1},
    };
    for (const Case& c : cases) {
        InternetOptions o;
        o.stateKnown = true;
        o.connectedState = c.state;
        o.globalOffline = c.offline;
        o.user = c.user;
        o.autoDetect = c.autoDetect;
        CheckContext context;
        context.secure = c.secure;
        context.windowsMajor = 10;
        const StepVerdict r = judgeInternetOptions(o, context);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.warnings.size(), c.warnings) << c.name;
        if (r.status == StepVerdict::Status::Failed) {
            EXPECT_NE(r.advice.find("TLS 1.2 is not available to WinInet"), std::string::npos);
        }
    }
}

TEST(TillSteps, ReadsHttpDates) {
    struct Case {
        const char* text;
        bool ok;
        int64_t utc;
    };
    const Case cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", true, 784111777},
        {"Sunday, 06-Nov-94 08:49:37 GMT", true, 784111777},
        {"Sun Nov  6 08:49:37 1994", true, 784111777},
        {"Mon, 07 Dec 2026 20:30:00 GMT", true, 1796675400},
        {"Thu, 29 Feb 2024 00:00:00 GMT", true, 1709164800},
        {"", false, 0},
        {"Sun, 06 Nov 1994 GMT", false, 0},
        {"Sun, 06 Foo 1994 08:49:37 GMT", false, 0},
        {"Sun, 06 Nov 1994 25:49:37 GMT", false, 0},
        {"Sun, 06 Nov 1994 08:49:37 PST", false, 0},
        {"Sun, 32 Nov 1994 08:49:37 GMT", false, 0},
        {"Sun, 06 Nov 19945 08:49:37 GMT", false, 0},
    };
    for (const Case& c : cases) {
        int64_t utc = 0;
        EXPECT_EQ(parseHttpDate(c.text, utc), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(utc, c.utc) << c.text;
        }
    }
    EXPECT_EQ(utcText(784111777), "1994-11-06 08:49 UTC");
    EXPECT_EQ(utcText(784111777, Language::Russian), "06.11.1994 08:49 UTC");
    EXPECT_EQ(utcOffsetText(180), "UTC+03:00");
    EXPECT_EQ(utcOffsetText(-330), "UTC-05:30");
    EXPECT_EQ(utcOffsetText(0), "UTC+00:00");
}

TEST(TillSteps, ComparesTheClockWithTheServiceDate) {
    const int64_t service = 1796675400;  // Mon, 07 Dec 2026 20:30:00 GMT
    struct Case {
        std::string header;
        int64_t tillUtc;
        std::string shows;
        bool warns;
        std::string warning = "";  // in the warning, when given
    };
    const Case cases[] = {
        {"Mon, 07 Dec 2026 20:30:00 GMT", service - 10800,
         "difference +10800 s (this clock is behind)", true, "3 hours behind"},
        // A second short of three hours is still three hours, not two.
        {"Mon, 07 Dec 2026 20:30:00 GMT", service - 10799, "difference +10799 s", true,
         "3 hours behind"},
        {"Mon, 07 Dec 2026 20:30:00 GMT", service + 301, "difference -301 s (this clock is ahead)",
         true},
        {"Mon, 07 Dec 2026 20:30:00 GMT", service - 300, "difference +300 s", false},
        {"Mon, 07 Dec 2026 20:30:00 GMT", service, "difference 0 s", false},
        {"", service, "has no Date header", false},
        {"yesterday", service, "\"yesterday\" cannot be read", false},
    };
    for (const Case& c : cases) {
        ClockReading clock;
        clock.utcNow = c.tillUtc;
        clock.offsetMinutes = 180;
        clock.localTime = "2026-12-07 20:30:00";
        clock.dateHeader = c.header;
        const StepVerdict r = judgeClock(clock);
        EXPECT_EQ(r.status, StepVerdict::Status::Ok);
        EXPECT_NE(r.line.find(c.shows), std::string::npos) << r.line;
        EXPECT_NE(r.line.find("2026-12-07 20:30:00 (UTC+03:00)"), std::string::npos);
        EXPECT_EQ(!r.warnings.empty(), c.warns) << r.line;
        if (!c.warning.empty()) {
            ASSERT_FALSE(r.warnings.empty());
            EXPECT_NE(r.warnings[0].find(c.warning), std::string::npos) << r.warnings[0];
        }
    }
}

TEST(TillSteps, ShowsTheCertificateAndWarnsBeforeItEnds) {
    const int64_t now = 1796675400;
    struct Case {
        int64_t notBefore, notAfter;
        const char* left;
        const char* warning;
    };
    const Case cases[] = {
        {now - 86400, now + 90 * 86400, "(90 days left)", nullptr},
        {now - 86400, now + 29 * 86400, "(29 days left)", "ends in 29 days"},
        {now - 86400, now + 3600, "(60 minutes left)", "ends in 60 minutes"},
        {now - 86400, now - 60, "to 2026-12-07 20:29 UTC", "ended on 2026-12-07 20:29 UTC"},
        {now + 7200, now + 90 * 86400, "(90 days left)", "valid only from"},
    };
    for (const Case& c : cases) {
        CertificateFacts f;
        f.seen = true;
        f.subject = "CN=loyalty.example";
        f.issuer = "CN=Example CA";
        f.topIssuer = "CN=Example Root";
        f.chainLength = 3;
        f.notBefore = c.notBefore;
        f.notAfter = c.notAfter;
        f.ocsp = {"http://ocsp.example/"};
        CheckContext context;
        const StepVerdict r = judgeCertificate(f, now, context);
        EXPECT_EQ(r.status, StepVerdict::Status::Ok);
        EXPECT_EQ(r.line, "CN=loyalty.example, issued by CN=Example CA");
        EXPECT_TRUE(hasText(r.more, c.left)) << c.left;
        EXPECT_TRUE(hasText(r.more, "top of the chain: CN=Example Root (3 certificates)"));
        EXPECT_EQ(r.warnings.size(), c.warning ? 1u : 0u) << c.left;
        if (c.warning) {
            EXPECT_TRUE(hasText(r.warnings, c.warning)) << c.warning;
        }
        EXPECT_TRUE(context.certificateRead);
        EXPECT_EQ(context.ocspUrls, f.ocsp);
    }
    CheckContext context;
    context.certificateRead = true;
    EXPECT_EQ(judgeCertificate(CertificateFacts{}, now, context).status,
              StepVerdict::Status::Skipped);
    EXPECT_FALSE(context.certificateRead);
    // A WinInet without the chain: the texts, and no revocation addresses.
    CertificateFacts texts;
    texts.seen = texts.chainUnavailable = true;
    texts.subject = "CN=loyalty.example";
    texts.notAfter = now + 90 * 86400;
    EXPECT_TRUE(hasText(judgeCertificate(texts, now, context).more,
                        "top of the chain: not available on this Windows"));
    EXPECT_EQ(judgeRevocation({}, context).line, "the addresses are not available on this Windows");
}

TEST(TillSteps, SaysWhichRevocationServersAnswer) {
    CheckContext context;
    EXPECT_EQ(judgeRevocation({}, context).status, StepVerdict::Status::Skipped);
    context.certificateRead = true;
    EXPECT_EQ(judgeRevocation({}, context).line, "none named");
    const StepVerdict r =
        judgeRevocation({{"OCSP", "http://127.0.0.1/ocsp", true, true, 404, 0, 12},
                         {"CRL", "http://127.0.0.9/ca.crl", true, false, 0, 12029, 3},
                         {"CRL", "ldap://dir/ca.crl", false, false, 0, 0, 0}},
                        context);
    EXPECT_EQ(r.status, StepVerdict::Status::Ok);
    EXPECT_EQ(r.line, "3 addresses, 1 answering");
    ASSERT_EQ(r.more.size(), 3u);
    EXPECT_EQ(r.more[0], "OCSP http://127.0.0.1/ocsp: answers (HTTP status 404, 12 ms)");
    EXPECT_NE(r.more[1].find("CRL http://127.0.0.9/ca.crl: no answer: "), std::string::npos);
    EXPECT_NE(r.more[1].find("(3 ms)"), std::string::npos);
    EXPECT_EQ(r.more[2], "CRL ldap://dir/ca.crl: not tried (not an http:// address)");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("http://127.0.0.9/ca.crl does not answer"), std::string::npos);
}

TEST(TillSteps, FollowsTheProxyAutomaticConfigurationChooses) {
    struct Case {
        AutoProxy automatic;
        const char* shown;
        std::string via, target;
        uint16_t port;
    };
    const Case cases[] = {
        {{true, true, "proxy.corp:3128", 0, 1200},
         "automatic configuration chooses proxy.corp:3128 for https://svc:443/ (1200 ms): WinInet "
         "goes through proxy.corp:3128",
         "proxy.corp:3128",
         "proxy.corp",
         3128},
        {{true, true, "http=p1:8080;https=p2:8443", 0, 5},
         "WinInet goes through p2:8443",
         "p2:8443",
         "p2",
         8443},
        {{true, true, "p1 p2:81", 0, 5}, "WinInet goes through p1", "p1", "p1", 80},
        {{true, true, "", 0, 9}, "chooses DIRECT for https://svc:443/ (9 ms)", "", "svc", 443},
        {{true, false, "", 12167, 30},
         "chooses nothing for https://svc:443/: ",
         "manual:8080",
         "manual",
         8080},
        {{false, false, "", 0, 0}, "not available on this Windows", "manual:8080", "manual", 8080},
    };
    for (const Case& c : cases) {
        CheckContext context;
        context.host = "svc";
        context.secure = true;
        context.via = "manual:8080";
        context.target = "manual";
        context.port = 8080;
        StepVerdict r = StepVerdict::ok("proxy", "manual:8080");
        addAutomaticProxy(r, c.automatic, "https://svc:443/", context);
        EXPECT_TRUE(hasText(r.more, c.shown)) << c.shown;
        EXPECT_EQ(context.via, c.via) << c.shown;
        EXPECT_EQ(context.target, c.target) << c.shown;
        EXPECT_EQ(context.port, c.port) << c.shown;
    }
}

// The summary's figures as text, JSON and one self-contained HTML page.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "encoding/Encodings.h"
#include "i18n/DateText.h"
#include "i18n/Messages.h"
#include "log/LogFormat.h"
#include "summary/LogSummary.h"

namespace summary {

using logformat::stampSeconds;

std::string counted(const Catalog& catalog, PluralMsg id, int n) {
    return formatPlural(catalog, id, static_cast<unsigned>(n), {{"n", std::to_string(n)}});
}

namespace {

// The texts of one report, in the reader's language.
struct Texts {
    const Catalog& catalog;
    std::string operator()(Msg key, MessageArgs args = {}) const {
        return formatMessage(catalog, key, args);
    }
    std::string count(PluralMsg id, int n) const { return counted(catalog, id, n); }
    // The causes hostemu names itself read in the reader's language; the
    // DLL's own log texts and Windows' texts stay as the log gives them.
    std::string cause(const Cause& c) const { return replay::sayCause(catalog, c); }
    std::string causes(const std::vector<Cause>& list) const;
    // A log's stamp in a sentence (i18n/DateText.h).
    std::string stamp(const std::string& s) const { return shownStamp(catalog.language, s); }
};

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
    return out;
}

std::string Texts::causes(const std::vector<Cause>& list) const {
    std::vector<std::string> shown;
    for (const Cause& c : list) shown.push_back(cause(c));
    return joined(shown, ", ");
}

const Results& resultsOf(const Summary& s, Kind kind) {
    static const Results none;
    const auto it = s.results.find(kind);
    return it == s.results.end() ? none : it->second;
}

std::string duration(long long seconds, const Texts& say) {
    if (seconds < 60) return say(Msg::summary_seconds, {{"s", std::to_string(seconds)}});
    return say(Msg::summary_minutes,
               {{"min", std::to_string(seconds / 60)}, {"s", std::to_string(seconds % 60)}});
}

std::string resultsLine(const Results& results, const Texts& say) {
    std::vector<std::string> parts;
    for (const auto& r : results)
        parts.push_back(
            say(Msg::summary_returned, {{"count", std::to_string(r.second)}, {"result", r.first}}));
    return parts.empty() ? say(Msg::summary_none) : joined(parts, ", ");
}

// Causes, most frequent first.
std::vector<std::pair<Cause, int>> byCount(const std::map<Cause, int>& errors) {
    std::vector<std::pair<Cause, int>> v(errors.begin(), errors.end());
    std::stable_sort(v.begin(), v.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return v;
}

std::string outageLine(const Outage& o, const Texts& say) {
    return say(Msg::summary_outage,
               {{"from", say.stamp(o.from)},
                {"to", say.stamp(o.to)},
                {"failed", say.count(PluralMsg::summary_failed_exchanges, o.failed)},
                {"causes", say.causes(o.causes)}});
}

constexpr std::size_t kOutagesShown = 5;

std::string sharedLine(const SharedOutage& o, const Texts& say) {
    return say(Msg::summary_shared_outage, {{"from", say.stamp(o.from)},
                                            {"to", say.stamp(o.to)},
                                            {"count", std::to_string(o.logs.size())},
                                            {"logs", joined(o.logs, ", ")}});
}

long long outageSeconds(const Outage& o) {
    const long long from = stampSeconds(o.from), to = stampSeconds(o.to);
    return from != logformat::kNoStamp && to != logformat::kNoStamp && to >= from ? to - from : 0;
}

// The `most` longest outages, longest first; equal ones in the log's order.
std::vector<Outage> longestOutages(std::vector<Outage> outages, std::size_t most) {
    std::stable_sort(outages.begin(), outages.end(), [](const Outage& a, const Outage& b) {
        return outageSeconds(a) > outageSeconds(b);
    });
    if (outages.size() > most) outages.resize(most);
    return outages;
}

// The top of a count axis and its step: 1, 2 or 5 times a power of ten, so
// that at most five steps reach at least `most`.
int roundStep(int most) {
    for (long long power = 1;; power *= 10) {
        for (long long m : {1, 2, 5})
            if (power > 100000000 || m * power * 5 >= most) return static_cast<int>(m * power);
    }
}

// Results, Windows errors and HTTP statuses whose number does not fit an
// int: shown as the log writes them, and counted here.
int numbersAsWritten(const Summary& s) {
    int n = 0;
    for (const auto& r : s.results)
        for (const auto& byNumber : r.second)
            if (!replay::loggedNumber(byNumber.first).fits) n += byNumber.second;
    for (const auto& e : s.errors)
        if (!e.first.number.empty() && !replay::loggedNumber(e.first.number).fits) n += e.second;
    return n;
}

std::string longestLine(const CallFigures& c, bool withLog, const Texts& say) {
    std::string line = say(Msg::summary_longest_call, {{"duration", duration(c.seconds, say)},
                                                       {"number", std::to_string(c.number)},
                                                       {"export", replay::kindName(c.kind)},
                                                       {"start", say.stamp(c.start)}});
    line += c.resultKnown ? say(Msg::summary_longest_returned, {{"result", c.result}})
                          : say(Msg::summary_longest_not_logged);
    if (withLog) line += "  (" + c.log + ")";
    return line;
}

std::string textSection(const Summary& s, bool isTotal, const Texts& say) {
    std::string t;
    t += "  " +
         (s.first.empty() ? say(Msg::summary_period_none)
                          : say(Msg::summary_period,
                                {{"from", say.stamp(s.first)}, {"to", say.stamp(s.last)}})) +
         "\n";
    if (s.stampsOutOfOrder > 0)
        t += "    " + say(Msg::summary_out_of_order, {{"n", std::to_string(s.stampsOutOfOrder)}}) +
             "\n";
    std::vector<std::string> calls;
    for (Kind k : kCallKinds)
        calls.push_back(std::string(replay::kindName(k)) + " " + std::to_string(s.callsOf(k)));
    t += "  " + say(Msg::summary_calls_line, {{"calls", joined(calls, ", ")}}) + "\n";
    for (Kind k : kResultKinds)
        t += std::string("    ") + replay::kindName(k) + ": " + resultsLine(resultsOf(s, k), say) +
             "\n";
    if (s.resultUnknown > 0)
        t += "    " +
             say(Msg::summary_calls_unended,
                 {{"calls", say.count(PluralMsg::summary_calls, s.resultUnknown)}}) +
             "\n";
    if (s.cutAtStart > 0) t += "    " + say(Msg::summary_cut_at_start) + "\n";
    if (const int n = numbersAsWritten(s); n > 0)
        t += "    " + say(Msg::summary_as_written, {{"n", std::to_string(n)}}) + "\n";
    t += "  " +
         say(Msg::summary_exchanges, {{"total", std::to_string(s.exchanges)},
                                      {"failed", std::to_string(s.failedExchanges)}}) +
         "\n";
    t += "  " + say(Msg::summary_failures_title) + ":";
    if (s.errors.empty()) t += " " + say(Msg::summary_none);
    t += "\n";
    for (const auto& e : byCount(s.errors)) {
        t += "    " + std::to_string(e.second) + "  " + say.cause(e.first);
        const auto m = s.meanings.find(e.first);
        if (m != s.meanings.end() && !m->second.empty()) t += ": " + m->second;
        t += "\n";
    }
    t += "  " +
         say(Msg::summary_probe, {{"failed", std::to_string(s.probesFailed)},
                                  {"succeeded", std::to_string(s.probesSucceeded)}}) +
         "\n";
    t += "  " + say(Msg::summary_longest_title) + ":";
    if (s.longest.empty()) t += " " + say(Msg::summary_longest_none);
    t += "\n";
    for (const CallFigures& c : s.longest) t += "    " + longestLine(c, isTotal, say) + "\n";
    std::vector<std::string> versions;
    for (const Version& v : s.versions)
        versions.push_back(say(Msg::summary_version_first,
                               {{"version", v.version}, {"stamp", say.stamp(v.firstSeen)}}));
    t += "  " +
         say(Msg::summary_restarts, {{"restarts", std::to_string(s.callsOf(Kind::Init))},
                                     {"versions", versions.empty() ? say(Msg::summary_versions_none)
                                                                   : joined(versions, ", ")}}) +
         "\n";
    t += "  " + say(Msg::summary_outages_title) + ":";
    // A busy till's month holds hundreds: the console shows the longest few.
    const std::vector<Outage> shown = longestOutages(s.outages, kOutagesShown);
    const std::string count = std::to_string(s.outages.size());
    if (s.outages.empty()) {
        t += " " + say(Msg::summary_none);
    } else if (shown.size() < s.outages.size()) {
        t += " " + say(Msg::summary_outages_longest,
                       {{"count", count}, {"shown", std::to_string(shown.size())}});
    } else if (s.outages.size() > 1) {
        t += " " + say(Msg::summary_outages_all, {{"count", count}});
    } else {
        t += " 1";
    }
    t += "\n";
    for (const Outage& o : shown) t += "    " + outageLine(o, say) + "\n";
    if (isTotal && (!s.shared.empty() || s.ownOutages > 0)) {
        t += "  " + say(Msg::summary_shared_title, {{"count", std::to_string(s.shared.size())}}) +
             "\n";
        for (const SharedOutage& o : s.shared) t += "    " + sharedLine(o, say) + "\n";
        t += "  " + say(Msg::summary_own_outages, {{"count", std::to_string(s.ownOutages)}}) + "\n";
    }
    return t;
}

// --- JSON

// Bytes that are not UTF-8 (a damaged log, a version text of another
// encoding) as "\xNN": the JSON stays loadable.
std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : shownUtf8(s)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string jsonStamp(const std::string& s) { return s.empty() ? "null" : jsonString(s); }

template <typename Order>
std::string jsonCounts(const std::map<std::string, int, Order>& counts) {
    std::vector<std::string> parts;
    for (const auto& c : counts)
        parts.push_back(jsonString(c.first) + ":" + std::to_string(c.second));
    return "{" + joined(parts, ",") + "}";
}

std::string jsonMembers(const Summary& s) {
    std::vector<std::string> m;
    m.push_back("\"first\":" + jsonStamp(s.first));
    m.push_back("\"last\":" + jsonStamp(s.last));
    // Only where there is something to say, so that a sound log's report stays as it was.
    if (s.stampsOutOfOrder > 0)
        m.push_back("\"stampsOutOfOrder\":" + std::to_string(s.stampsOutOfOrder));
    // Members in the order of their names.
    std::map<std::string, int> calls;
    for (Kind k : kCallKinds) calls[replay::kindName(k)] = s.callsOf(k);
    m.push_back("\"calls\":" + jsonCounts(calls));
    std::vector<std::string> results;
    for (Kind k : kResultKinds) {
        const Results& byNumber = resultsOf(s, k);
        results.push_back(jsonString(replay::kindName(k)) + ":" +
                          jsonCounts(std::map<std::string, int>(byNumber.begin(), byNumber.end())));
    }
    m.push_back("\"results\":{" + joined(results, ",") + "}");
    m.push_back("\"resultsNotLogged\":" + std::to_string(s.resultUnknown));
    if (const int n = numbersAsWritten(s); n > 0)
        m.push_back("\"numbersAsWritten\":" + std::to_string(n));
    std::map<std::string, int> errors;
    for (const auto& e : s.errors) errors[e.first.name()] += e.second;
    m.push_back("\"errors\":" + jsonCounts(errors));
    std::vector<std::string> meanings;
    for (const auto& e : s.meanings)
        if (s.errors.count(e.first))
            meanings.push_back(jsonString(e.first.name()) + ":" + jsonString(e.second));
    m.push_back("\"meanings\":{" + joined(meanings, ",") + "}");
    m.push_back("\"exchanges\":{\"total\":" + std::to_string(s.exchanges) +
                ",\"failed\":" + std::to_string(s.failedExchanges) + "}");
    m.push_back("\"probes\":{\"failed\":" + std::to_string(s.probesFailed) +
                ",\"succeeded\":" + std::to_string(s.probesSucceeded) + "}");
    std::vector<std::string> longest;
    for (const CallFigures& c : s.longest) {
        std::string o = "{\"call\":" + std::to_string(c.number) +
                        ",\"export\":" + jsonString(replay::kindName(c.kind)) +
                        ",\"start\":" + jsonString(c.start) +
                        ",\"seconds\":" + std::to_string(c.seconds) + ",\"result\":" +
                        (!c.resultKnown ? std::string("null")
                         : c.resultFits ? c.result
                                        : jsonString(c.result));
        if (!c.log.empty()) o += ",\"log\":" + jsonString(c.log);
        longest.push_back(o + "}");
    }
    m.push_back("\"longest\":[" + joined(longest, ",") + "]");
    m.push_back("\"restarts\":" + std::to_string(s.callsOf(Kind::Init)));
    std::vector<std::string> versions;
    for (const Version& v : s.versions) versions.push_back(jsonString(v.version));
    m.push_back("\"versions\":[" + joined(versions, ",") + "]");
    std::vector<std::string> outages;
    for (const Outage& o : s.outages) {
        std::vector<std::string> causes;
        for (const Cause& c : o.causes) causes.push_back(jsonString(c.name()));
        outages.push_back("{\"from\":" + jsonString(o.from) + ",\"to\":" + jsonString(o.to) +
                          ",\"failed\":" + std::to_string(o.failed) + ",\"causes\":[" +
                          joined(causes, ",") + "]}");
    }
    m.push_back("\"outages\":[" + joined(outages, ",") + "]");
    // A total of several logs: the outages seen at several tills at once.
    if (!s.shared.empty() || s.ownOutages > 0) {
        std::vector<std::string> shared;
        for (const SharedOutage& o : s.shared) {
            std::vector<std::string> logs;
            for (const std::string& l : o.logs) logs.push_back(jsonString(l));
            shared.push_back("{\"from\":" + jsonString(o.from) + ",\"to\":" + jsonString(o.to) +
                             ",\"logs\":[" + joined(logs, ",") + "]}");
        }
        m.push_back("\"sharedOutages\":[" + joined(shared, ",") + "]");
        m.push_back("\"ownOutages\":" + std::to_string(s.ownOutages));
    }
    return joined(m, ",");
}

// --- HTML

std::string esc(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

const char* const kPalette[] = {"#d62728", "#ff7f0e", "#9467bd", "#8c564b", "#e377c2",
                                "#bcbd22", "#17becf", "#7f7f7f", "#1f77b4", "#2ca02c"};

// A day of the log with its label in the reader's form, ordered by its date.
struct Day {
    long long start;  // seconds at 00:00:00
    std::string label;
};

// Grid lines with their counts at round steps from 0 up to the first step
// at or above `most`; returns that top count.
int countAxis(int most, int left, int top, int height, int right, std::string& svg) {
    const int step = roundStep(most);
    const int highest = std::max(step, (most + step - 1) / step * step);
    char buf[256];
    for (int v = 0; v <= highest; v += step) {
        const int y = top + height - static_cast<int>(static_cast<long long>(height) * v / highest);
        std::snprintf(buf, sizeof buf,
                      "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#ddd\"/>"
                      "<text x=\"%d\" y=\"%d\" font-size=\"10\" text-anchor=\"end\">%d</text>",
                      left, y, right, y, left - 4, y + 3, v);
        svg += buf;
    }
    return highest;
}

// The day that starts at `start` (seconds since 1970) in the reader's form:
// "MM-DD-YYYY" as the log writes dates, "DD.MM.YYYY" in Russian; `parts`
// ShortDay for the chart's axis.
std::string dayLabel(long long start, const Texts& say, DateParts parts = DateParts::Day) {
    return dateText(say.catalog.language, civilTime(start), parts, EnglishDate::LogStamp);
}

// The start of the day or hour that `t` falls in (before 1970 too).
long long floorTo(long long t, long long unit) { return t - ((t % unit) + unit) % unit; }

// An hour's or a day's figures, as the charts draw them.
struct Bars {
    int calls = 0, failedCalls = 0, failedExchanges = 0;
    std::map<Kind, int> byExport, failedByExport;
    std::map<Cause, int> byCause;
    void add(const Hour& h) {
        for (const auto& c : h.calls) calls += c.second, byExport[c.first] += c.second;
        for (const auto& c : h.failedCalls)
            failedCalls += c.second, failedByExport[c.first] += c.second;
        for (const auto& c : h.failedExchanges)
            failedExchanges += c.second, byCause[c.first] += c.second;
    }
};

std::map<long long, Bars> barsBy(const Summary& s, long long unit) {
    std::map<long long, Bars> out;
    for (const auto& h : s.hours) out[floorTo(h.first, unit)].add(h.second);
    return out;
}

const char kCallsColour[] = "#4c78a8", kFailedCallsColour[] = "#333333";

// "{when}: 12 calls, 3 failed calls, 4 exchanges failed (GetCardInfoEx: ...)".
std::string barsTitle(const std::string& when, const Bars& b, const Texts& say) {
    std::vector<std::string> perExport;
    for (Kind k : kResultKinds)
        if (b.byExport.count(k))
            perExport.push_back(say(
                Msg::summary_per_export,
                {{"export", replay::kindName(k)},
                 {"calls", say.count(PluralMsg::summary_calls, b.byExport.at(k))},
                 {"failed", say.count(PluralMsg::summary_failed_calls,
                                      b.failedByExport.count(k) ? b.failedByExport.at(k) : 0)}}));
    std::string t = when + ": " + say.count(PluralMsg::summary_calls, b.calls) + ", " +
                    say.count(PluralMsg::summary_failed_calls, b.failedCalls) + ", " +
                    say.count(PluralMsg::summary_failed_exchanges, b.failedExchanges);
    if (!perExport.empty()) t += " (" + joined(perExport, "; ") + ")";
    return "<title>" + esc(t) + "</title>";
}

std::string bar(const char* series, int n, double x, double y, double width, double height,
                const char* colour, const std::string& title) {
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "<rect class=\"%s\" data-n=\"%d\" x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" "
                  "height=\"%.1f\" fill=\"%s\">",
                  series, n, x, y, width, height, colour);
    return buf + title + "</rect>";
}

// The charts' width for 24 hours or for the whole period.
constexpr int kPlotWidth = 24 * 32, kPlotHeight = 140;

// The whole period at a glance: calls, failed calls and failed exchanges per
// day, every day from the first to the last (only the days with calls when a
// till's clock makes that span more than a year).
std::string svgOverview(const Summary& s, const std::vector<Day>& active, const Texts& say) {
    if (active.empty()) return std::string();
    std::vector<long long> days;
    const long long first = active.front().start, last = active.back().start;
    if ((last - first) / 86400 < 400) {
        for (long long d = first; d <= last; d += 86400) days.push_back(d);
    } else {
        for (const Day& d : active) days.push_back(d.start);
    }
    std::map<long long, Bars> perDay = barsBy(s, 86400);
    int most = 1;
    for (long long d : days) most = std::max({most, perDay[d].calls, perDay[d].failedExchanges});
    const int left = 40, top = 10, height = kPlotHeight;
    const double dayWidth = std::max(4.0, static_cast<double>(kPlotWidth) / days.size());
    const int right = left + static_cast<int>(dayWidth * days.size());
    std::string axis;
    const double unit =
        static_cast<double>(height) / countAxis(most, left, top, height, right, axis);
    std::string svg = "<svg class=\"overview\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(right + 10) + "\" height=\"" +
                      std::to_string(top + height + 30) + "\" role=\"img\" aria-label=\"" +
                      esc(say(Msg::summary_per_day_label, {{"from", dayLabel(days.front(), say)},
                                                           {"to", dayLabel(days.back(), say)}})) +
                      "\">" + axis;
    char buf[256];
    // Labels for about ten days of the period, the first and last among them.
    const std::size_t every = std::max<std::size_t>(1, (days.size() + 9) / 10);
    const double w = dayWidth * 0.27;
    for (std::size_t i = 0; i < days.size(); ++i) {
        const double x = left + i * dayWidth + dayWidth * 0.095;
        const Bars& b = perDay[days[i]];
        const std::string title = barsTitle(dayLabel(days[i], say), b, say);
        svg += bar("calls", b.calls, x, top + height - b.calls * unit, w, b.calls * unit,
                   kCallsColour, title);
        svg += bar("failed-calls", b.failedCalls, x + w, top + height - b.failedCalls * unit, w,
                   b.failedCalls * unit, kFailedCallsColour, title);
        svg += bar("failed-exchanges", b.failedExchanges, x + 2 * w,
                   top + height - b.failedExchanges * unit, w, b.failedExchanges * unit,
                   kPalette[0], title);
        if (i % every == 0 || i + 1 == days.size()) {
            std::snprintf(buf, sizeof buf, "<text x=\"%.1f\" y=\"%d\" font-size=\"11\">%s</text>",
                          left + i * dayWidth, top + height + 14,
                          dayLabel(days[i], say, DateParts::ShortDay).c_str());
            svg += buf;
        }
    }
    std::snprintf(buf, sizeof buf,
                  "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#333\"/>", left,
                  top + height, right, top + height);
    return svg + buf + "</svg>";
}

std::string svgTimeline(const Summary& s, const Day& day, const std::vector<Cause>& causes,
                        const Texts& say) {
    const int hourWidth = kPlotWidth / 24, left = 40, top = 10, height = kPlotHeight,
              width = left + kPlotWidth + 10;
    Bars hours[24];
    for (const auto& h : s.hours)
        if (h.first >= day.start && h.first < day.start + 86400)
            hours[(h.first - day.start) / 3600].add(h.second);
    int most = 1;
    for (const Bars& b : hours) most = std::max({most, b.calls, b.failedExchanges});
    std::string axis;
    const double unit =
        static_cast<double>(height) / countAxis(most, left, top, height, left + kPlotWidth, axis);
    std::string svg = "<svg class=\"timeline\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(top + height + 30) +
                      "\" role=\"img\" aria-label=\"" +
                      esc(say(Msg::summary_per_hour_label, {{"day", day.label}})) + "\">";
    char buf[256];
    // Outages first, behind the bars.
    for (const Outage& o : s.outages) {
        const long long from = stampSeconds(o.from), to = stampSeconds(o.to);
        if (from == logformat::kNoStamp || to < day.start || from >= day.start + 86400) continue;
        const double x1 = left + std::max(0.0, (from - day.start) / 3600.0 * hourWidth);
        const double x2 = left + std::min(24.0 * hourWidth, (to - day.start) / 3600.0 * hourWidth);
        std::snprintf(buf, sizeof buf,
                      "<rect class=\"outage\" x=\"%.1f\" y=\"%d\" width=\"%.1f\" height=\"%d\" "
                      "fill=\"#f4b6b6\">",
                      x1, top, std::max(3.0, x2 - x1), height);
        svg += buf;
        svg += "<title>" + esc(say(Msg::summary_outage_named, {{"outage", outageLine(o, say)}})) +
               "</title></rect>";
    }
    svg += axis;
    const double w = (hourWidth - 4) / 3.0;
    for (int h = 0; h < 24; ++h) {
        const double x = left + h * hourWidth + 2;
        const Bars& b = hours[h];
        const std::string title = barsTitle(
            say(Msg::summary_hour, {{"from", std::to_string(h)}, {"to", std::to_string(h + 1)}}), b,
            say);
        if (b.calls > 0)
            svg += bar("calls", b.calls, x, top + height - b.calls * unit, w, b.calls * unit,
                       kCallsColour, title);
        if (b.failedCalls > 0)
            svg += bar("failed-calls", b.failedCalls, x + w, top + height - b.failedCalls * unit, w,
                       b.failedCalls * unit, kFailedCallsColour, title);
        // Failed exchanges stacked by cause.
        double y = top + height;
        for (std::size_t c = 0; c < causes.size(); ++c) {
            const auto it = b.byCause.find(causes[c]);
            if (it == b.byCause.end()) continue;
            const double bh = it->second * unit;
            y -= bh;
            svg += bar("failed-exchanges", it->second, x + 2 * w, y, w, bh,
                       kPalette[c % (sizeof kPalette / sizeof *kPalette)],
                       "<title>" +
                           esc(say(Msg::summary_hour,
                                   {{"from", std::to_string(h)}, {"to", std::to_string(h + 1)}}) +
                               ": " + say.count(PluralMsg::summary_failed_exchanges, it->second) +
                               " (" + say.cause(causes[c]) + ")") +
                           "</title>");
        }
        if (h % 3 == 0) {
            std::snprintf(buf, sizeof buf,
                          "<text x=\"%d\" y=\"%d\" font-size=\"11\">%02d:00</text>",
                          left + h * hourWidth, top + height + 14, h);
            svg += buf;
        }
    }
    std::snprintf(buf, sizeof buf,
                  "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#333\"/>", left,
                  top + height, left + kPlotWidth, top + height);
    svg += buf;
    return svg + "</svg>";
}

std::string htmlSection(const Summary& s, const std::string& id, bool isTotal, const Texts& say) {
    // Catalog texts are plain text: escaped like every other value on the page.
    auto t = [&](Msg key, MessageArgs args = {}) { return esc(say(key, args)); };
    auto th = [&](std::initializer_list<Msg> keys) {
        std::string row;
        for (Msg key : keys) row += "<th>" + t(key) + "</th>";
        return row;
    };
    std::string h;
    h += "<p>" +
         say(Msg::summary_period,
             {{"from",
               "<span data-first>" +
                   esc(s.first.empty() ? say(Msg::summary_period_none_short) : say.stamp(s.first)) +
                   "</span>"},
              {"to", "<span data-last>" + esc(say.stamp(s.last)) + "</span>"}}) +
         "</p>\n";
    if (s.stampsOutOfOrder > 0)
        h += "<p>" +
             say(Msg::summary_out_of_order,
                 {{"n", "<span data-stamps-out-of-order>" + std::to_string(s.stampsOutOfOrder) +
                            "</span>"}}) +
             "</p>\n";
    if (const int n = numbersAsWritten(s); n > 0)
        h += "<p>" +
             say(Msg::summary_as_written,
                 {{"n", "<span data-numbers-as-written>" + std::to_string(n) + "</span>"}}) +
             "</p>\n";
    // The days the log covers, each with its timeline.
    std::vector<Day> days;
    for (const auto& d : barsBy(s, 86400)) {
        days.push_back({d.first, dayLabel(d.first, say)});
    }
    // Failed exchanges' causes, the most frequent first.
    std::map<Cause, int> exchangeCauses;
    for (const auto& h : s.hours)
        for (const auto& c : h.second.failedExchanges) exchangeCauses[c.first] += c.second;
    std::vector<Cause> causes;
    for (const auto& e : byCount(exchangeCauses)) causes.push_back(e.first);
    auto swatch = [](const char* colour) {
        return " <span class=\"swatch\" style=\"background:" + std::string(colour) + "\"></span>";
    };
    if (!days.empty()) {
        h += "<h3>" + t(Msg::summary_per_day_title) + "</h3>\n" + svgOverview(s, days, say) +
             "\n<p class=\"legend\">" + swatch(kCallsColour) + t(Msg::summary_legend_calls) +
             swatch(kFailedCallsColour) + t(Msg::summary_legend_failed_calls) +
             swatch(kPalette[0]) + t(Msg::summary_legend_failed_exchanges) + "</p>\n";
    }
    for (const Day& d : days) {
        h += "<h3>" + esc(d.label) + "</h3>\n" + svgTimeline(s, d, causes, say) + "\n";
    }
    if (!days.empty()) {
        h += "<p class=\"legend\">" + swatch(kCallsColour) + t(Msg::summary_legend_calls_per_hour) +
             swatch(kFailedCallsColour) + t(Msg::summary_legend_failed_calls) + " &nbsp;" +
             t(Msg::summary_legend_failed_exchanges_by_cause);
        for (std::size_t c = 0; c < causes.size(); ++c)
            h += swatch(kPalette[c % (sizeof kPalette / sizeof *kPalette)]) +
                 esc(say.cause(causes[c]));
        h += swatch("#f4b6b6") + t(Msg::summary_legend_outage) + "</p>\n";
    }
    h += "<h3>" + t(Msg::summary_calls_title) + "</h3>\n<table><tr>" +
         th({Msg::summary_head_export, Msg::summary_head_calls, Msg::summary_head_results}) +
         "</tr>\n";
    for (Kind kind : kCallKinds) {
        const std::string k = replay::kindName(kind);
        h += "<tr><td>" + k + "</td><td data-calls=\"" + k + "\">" +
             std::to_string(s.callsOf(kind)) + "</td><td>";
        if (s.results.count(kind)) {
            std::vector<std::string> parts;
            for (const auto& r : s.results.at(kind))
                parts.push_back(say(Msg::summary_returned,
                                    {{"count", "<span data-result=\"" + k + " " + r.first + "\">" +
                                                   std::to_string(r.second) + "</span>"},
                                     {"result", r.first}}));
            h += parts.empty() ? t(Msg::summary_none) : joined(parts, ", ");
        } else {
            h += t(Msg::summary_always_0);
        }
        h += "</td></tr>\n";
    }
    h += "</table>\n";
    h += "<p>" +
         say(Msg::summary_exchanges,
             {{"total", "<span data-exchanges>" + std::to_string(s.exchanges) + "</span>"},
              {"failed",
               "<span data-failed-exchanges>" + std::to_string(s.failedExchanges) + "</span>"}}) +
         ". " +
         say(Msg::summary_probe,
             {{"failed", "<span data-probes-failed>" + std::to_string(s.probesFailed) + "</span>"},
              {"succeeded",
               "<span data-probes-succeeded>" + std::to_string(s.probesSucceeded) + "</span>"}}) +
         ".</p>\n";
    h += "<h3>" + t(Msg::summary_failures_title) + "</h3>\n";
    if (s.errors.empty()) {
        h += "<p>" + t(Msg::summary_none_sentence) + "</p>\n";
    } else {
        h += "<table><tr>" +
             th({Msg::summary_head_cause, Msg::summary_head_count, Msg::summary_head_meaning}) +
             "</tr>\n";
        for (const auto& e : byCount(s.errors)) {
            const auto m = s.meanings.find(e.first);
            h += "<tr><td>" + esc(say.cause(e.first)) + "</td><td data-error=\"" +
                 esc(e.first.name()) + "\">" + std::to_string(e.second) + "</td><td>" +
                 (m == s.meanings.end() ? std::string() : esc(m->second)) + "</td></tr>\n";
        }
        h += "</table>\n";
    }
    h += "<h3>" + t(Msg::summary_longest_title) + "</h3>\n";
    if (s.longest.empty()) {
        h += "<p>" + t(Msg::summary_longest_none_sentence) + "</p>\n";
    } else {
        h += "<table><tr>" +
             th({Msg::summary_head_duration, Msg::summary_head_call, Msg::summary_head_export,
                 Msg::summary_head_started, Msg::summary_head_result}) +
             (isTotal ? th({Msg::summary_head_log}) : std::string()) + "</tr>\n";
        for (const CallFigures& c : s.longest)
            h += "<tr><td>" + esc(duration(c.seconds, say)) + "</td><td>" +
                 std::to_string(c.number) + "</td><td>" + replay::kindName(c.kind) + "</td><td>" +
                 esc(say.stamp(c.start)) + "</td><td>" +
                 (c.resultKnown ? esc(c.result) : t(Msg::summary_not_logged)) + "</td>" +
                 (isTotal ? "<td>" + esc(c.log) + "</td>" : std::string()) + "</tr>\n";
        h += "</table>\n";
    }
    std::vector<std::string> versions;
    for (const Version& v : s.versions)
        versions.push_back(say(Msg::summary_version_first,
                               {{"version", "<span data-version>" + esc(v.version) + "</span>"},
                                {"stamp", esc(say.stamp(v.firstSeen))}}));
    h += "<h3>" + t(Msg::summary_restarts_title) + "</h3>\n<p>" +
         say(Msg::summary_restarts_sentence,
             {{"restarts",
               "<span data-restarts>" + std::to_string(s.callsOf(Kind::Init)) + "</span>"},
              {"versions",
               versions.empty() ? t(Msg::summary_versions_none) : joined(versions, ", ")}}) +
         "</p>\n";
    h += "<h3>" + t(Msg::summary_outages_title) + "</h3>\n";
    if (s.outages.empty()) {
        h += "<p>" + t(Msg::summary_none_sentence) + "</p>\n";
    } else {
        h += "<table><tr>" +
             th({Msg::summary_head_from, Msg::summary_head_to, Msg::summary_head_failed_exchanges,
                 Msg::summary_head_causes}) +
             "</tr>\n";
        for (const Outage& o : s.outages)
            h += "<tr data-outage><td>" + esc(say.stamp(o.from)) + "</td><td>" +
                 esc(say.stamp(o.to)) + "</td><td>" + std::to_string(o.failed) + "</td><td>" +
                 esc(say.causes(o.causes)) + "</td></tr>\n";
        h += "</table>\n";
    }
    if (isTotal && (!s.shared.empty() || s.ownOutages > 0)) {
        h += "<h3>" +
             esc(say(Msg::summary_shared_title, {{"count", std::to_string(s.shared.size())}})) +
             "</h3>\n";
        if (!s.shared.empty()) {
            h += "<table><tr>" +
                 th({Msg::summary_head_from, Msg::summary_head_to, Msg::summary_head_tills,
                     Msg::summary_head_logs}) +
                 "</tr>\n";
            for (const SharedOutage& o : s.shared) {
                std::vector<std::string> logs;
                for (const std::string& l : o.logs) logs.push_back(esc(l));
                h += "<tr data-shared-outage><td>" + esc(say.stamp(o.from)) + "</td><td>" +
                     esc(say.stamp(o.to)) + "</td><td>" + std::to_string(o.logs.size()) +
                     "</td><td>" + joined(logs, ", ") + "</td></tr>\n";
            }
            h += "</table>\n";
        }
        h +=
            "<p>" +
            say(Msg::summary_own_outages,
                {{"count", "<span data-own-outages>" + std::to_string(s.ownOutages) + "</span>"}}) +
            "</p>\n";
    }
    return "<section id=\"" + id + "\">\n" + h + "</section>\n";
}

}  // namespace

std::string textReport(const std::vector<NamedSummary>& logs, const Catalog& catalog) {
    const Texts say{catalog};
    std::string t;
    for (const NamedSummary& l : logs) t += l.name + "\n" + textSection(l.summary, false, say);
    if (logs.size() > 1) {
        t += say(Msg::summary_total, {{"count", std::to_string(logs.size())}}) + "\n" +
             textSection(total(logs), true, say);
    }
    return shownUtf8(t);
}

std::string jsonReport(const std::vector<NamedSummary>& logs) {
    if (logs.size() == 1) return "{" + jsonMembers(logs[0].summary) + "}\n";
    // The top level is the total, so that a script reads one shape either way.
    std::vector<std::string> each;
    for (const NamedSummary& l : logs)
        each.push_back("{\"file\":" + jsonString(l.name) + "," + jsonMembers(l.summary) + "}");
    return "{" + jsonMembers(total(logs)) + ",\"logs\":[" + joined(each, ",") + "]}\n";
}

std::string htmlReport(const std::vector<NamedSummary>& logs, const Catalog& catalog) {
    const Texts say{catalog};
    const std::string title = esc(say(Msg::summary_page_title));
    std::string h = "<!DOCTYPE html>\n<html lang=\"" + std::string(catalog.code) +
                    "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                    "</title>\n<style>\n"
                    "body{font-family:sans-serif;margin:1.5em;color:#222}\n"
                    "h2{border-bottom:2px solid #4c78a8;padding-bottom:.2em}\n"
                    "table{border-collapse:collapse;margin:.5em 0}\n"
                    "th,td{border:1px solid #ccc;padding:.25em .6em;text-align:left}\n"
                    "th{background:#eef2f7}\n"
                    ".swatch{display:inline-block;width:.9em;height:.9em;margin:0 .3em 0 .8em;"
                    "vertical-align:middle}\n"
                    "svg.timeline{display:block;margin:.3em 0}\n"
                    "</style>\n</head>\n<body>\n<h1>" +
                    title + "</h1>\n";
    for (std::size_t i = 0; i < logs.size(); ++i) {
        h += "<h2>" + esc(logs[i].name) + "</h2>\n" +
             htmlSection(logs[i].summary, "log-" + std::to_string(i + 1), false, say);
    }
    if (logs.size() > 1) {
        h += "<h2>" + esc(say(Msg::summary_total, {{"count", std::to_string(logs.size())}})) +
             "</h2>\n" + htmlSection(total(logs), "total", true, say);
    }
    return shownUtf8(h + "</body>\n</html>\n");
}

}  // namespace summary

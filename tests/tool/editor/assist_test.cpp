// Hover, completion, outline and quick fixes on source texts.
#include "tool/editor/assist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tool/source_fixture.h"

namespace scenario {
namespace {

using testing::builtinTexts;

TEST(SourceHover, TellsTheRecordOrTheFieldWithItsValueAsRead) {
    const std::string train =
        "[generale]\r\n"
        "[segnali]\r\n"
        "segnale,    1000,   2, 5, 6,  0, 0,    0,  0,0,0, 0\r\n"
        "orologio,    14              22            30 \r\n"
        "stazione, 1750, 27, 200, 0,0,0, 0,0,0, 0,0,0, 30, 14,26,0, CITT\xC0 ALTA\r\n"
        "- segnale, 2000\r\n";
    const struct {
        std::int32_t line;
        std::int32_t column;
        std::string shown;  // the hover's first line; empty for no hover
        TextSpot spot;
    } cases[] = {
        {2, 0, "**signal**: train source record, read after [generale]", {2, 0, 7}},
        {2, 13, "**posizione**: 1000 m, cell 21", {2, 12, 16}},
        {2, 20, "**sx**: 2", {2, 20, 21}},
        {2, 9, "", {}},                               // blanks before a value
        {3, 29, "**minutes**: 22 min", {3, 29, 31}},  // parted by blanks only
        {3, 22, "", {}},
        {4, 60, "**name**: CITT\xC0 ALTA", {4, 59, 69}},
        {4, 10, "**position**: 1750 m", {4, 10, 14}},
        {1, 3, "**[segnali]**: a group header.", {1, 0, 9}},
        {5, 2, "A comment: a first field holding \"-\" is passed over.", {5, 0, 9}},
        {9, 0, "", {}},
    };
    for (const auto& c : cases) {
        const std::optional<HoverText> hover = hoverAt(train, SourceKind::Train, c.line, c.column);
        if (c.shown.empty()) {
            EXPECT_FALSE(hover) << c.line << ":" << c.column;
            continue;
        }
        ASSERT_TRUE(hover) << c.line << ":" << c.column;
        EXPECT_EQ(hover->markdown.substr(0, hover->markdown.find('\n')).substr(0, c.shown.size()),
                  c.shown);
        EXPECT_EQ(std::tie(hover->spot.line, hover->spot.first, hover->spot.last),
                  std::tie(c.spot.line, c.spot.first, c.spot.last))
            << c.shown;
    }
}

// A record is what the passes read in its section, not what a line holds on its own.
TEST(SourceHover, TellsWhatThePassesReadWhereALineAloneWouldMislead) {
    const std::string line =
        "[generale]\r\n"
        "lunghezza percorso, 5000\r\n"
        "[pendenza], 1000, 6\r\n"                 // ends the general section, read as nothing
        "progressiva chilometrica uno, 0, 0\r\n"  // a general record after that section
        "[pendenza], 2000, 6\r\n";
    const std::string train =
        "[generale]\r\n"
        "- a\r\n"
        "- b\r\n"
        "- segnale, 1000, 2, 5, 6, 0, 0, 0, 0,0,0, 0\r\n"  // a third comment in a row is read
        "- c\r\n"
        "sabbia, 3\r\n";
    const struct {
        SourceKind kind;
        std::int32_t line;
        std::int32_t column;
        std::string shown;  // the hover's start; empty for no hover
    } cases[] = {
        {SourceKind::Line, 1, 0, "**route length**"},
        {SourceKind::Line, 2, 0, "**[pendenza]**: a group header."},
        {SourceKind::Line, 3, 0, ""},
        {SourceKind::Line, 4, 0, "**gradient**"},
        {SourceKind::Line, 4, 12, "**position**: 2000 m"},
        {SourceKind::Train, 2, 0, "A comment"},
        {SourceKind::Train, 3, 0, "**signal**"},
        {SourceKind::Train, 3, 11, "**posizione**: 1000 m"},
        {SourceKind::Train, 4, 0, "A comment"},
    };
    for (const auto& c : cases) {
        const std::optional<HoverText> hover =
            hoverAt(c.kind == SourceKind::Line ? line : train, c.kind, c.line, c.column);
        if (c.shown.empty()) {
            EXPECT_FALSE(hover) << c.line << ":" << c.column << " " << hover->markdown;
            continue;
        }
        ASSERT_TRUE(hover) << c.line << ":" << c.column;
        EXPECT_EQ(hover->markdown.substr(0, c.shown.size()), c.shown) << hover->markdown;
    }
}

TEST(SourceHover, GivesTheCellEachRecordRoundsTo) {
    const std::string line =
        "[generale]\r\n[pendenze]\r\npendenza, 1025, 6\r\nmontagna, 3000, 3350, 12\r\n"
        "cartello_indicatore, 75, X\r\n";
    const auto hoverText = [&](std::int32_t at, std::int32_t column) {
        const std::optional<HoverText> hover = hoverAt(line, SourceKind::Line, at, column);
        return hover ? hover->markdown : std::string();
    };
    EXPECT_NE(hoverText(2, 11).find("1025 m, cell 20\n"),
              std::string::npos);  // round(20.5) to even
    EXPECT_NE(hoverText(3, 11).find("3000 m, cell 60\n"), std::string::npos);
    EXPECT_NE(hoverText(4, 22).find("75 m, cell 2\n"),
              std::string::npos);  // round(1.5 + 1) to even
}

TEST(SourceHover, CurveKeywordSaysHowItsSideAndClassAreRead) {
    const std::string line = "[generale]\r\n[curve]\r\ncurva destra 5, 1000, 200\r\n";
    const std::optional<HoverText> hover = hoverAt(line, SourceKind::Line, 2, 0);
    ASSERT_TRUE(hover);
    EXPECT_NE(hover->markdown.find("turns left when the field holds an `s` anywhere"),
              std::string::npos)
        << hover->markdown;
}

TEST(SourceCompletion, OffersTheCursorsGroupFirstThenTheOthersThenHeaders) {
    const std::string train = "[generale]\r\nsabbia, 3\r\n[segnali]\r\n\r\n[stazioni]\r\n\r\n";
    const auto sortedLabels = [&](std::int32_t line) {
        std::vector<CompletionItem> items = completionsAt(train, SourceKind::Train, line);
        std::sort(items.begin(), items.end(),
                  [](const auto& a, const auto& b) { return a.sortKey < b.sortKey; });
        std::vector<std::string> labels;
        for (const CompletionItem& i : items) labels.push_back(i.label);
        return labels;
    };
    const std::vector<std::string> inSignals = sortedLabels(3);
    ASSERT_FALSE(inSignals.empty());
    EXPECT_EQ(inSignals.front(), "segnale");
    EXPECT_EQ(sortedLabels(5).front(), "stazione");
    EXPECT_EQ(inSignals.back(), "[fine]");
    EXPECT_NE(std::find(inSignals.begin(), inSignals.end(), "[stazioni]"), inSignals.end());

    const std::vector<CompletionItem> items = completionsAt(train, SourceKind::Train, 3);
    const auto signal = std::find_if(items.begin(), items.end(),
                                     [](const auto& i) { return i.label == "segnale"; });
    ASSERT_NE(signal, items.end());
    EXPECT_EQ(signal->snippet,
              "segnale, ${1:posizione}, ${2:sx}, ${3:s1}, ${4:s2}, ${5:s3}, ${6:rapp}, ${7:dx}, "
              "${8:d1}, ${9:d2}, ${10:d3}, ${11:tempo}");
    EXPECT_EQ(signal->plain, "segnale, ");

    // The line file's records are spelt as the writer spells them.
    std::vector<std::string> lineLabels;
    for (const CompletionItem& i : completionsAt("", SourceKind::Line, 0))
        lineLabels.push_back(i.label);
    for (const char* label : {"lunghezza percorso", "cartello_indicatore", "[curve]"})
        EXPECT_NE(std::find(lineLabels.begin(), lineLabels.end(), label), lineLabels.end())
            << label;
}

TEST(SourceOutline, SectionsHoldStationsSignalsAndTunnels) {
    const testing::BuiltinTexts builtin = builtinTexts();
    const std::vector<OutlineEntry> train = outlineOf(builtin.train, SourceKind::Train);
    std::vector<std::string> sections;
    for (const OutlineEntry& s : train) sections.push_back(s.name);
    EXPECT_EQ(sections,
              (std::vector<std::string>{"[generale]", "[aderenze]", "[vel_limite]", "[stazioni]",
                                        "[rallentamenti]", "[segnali]", "[codici]", "[fine]"}));
    const OutlineEntry& stations = train[3];
    ASSERT_EQ(stations.children.size(), 15u);
    EXPECT_EQ(stations.children[2].name, "BORGO VALLINA");
    EXPECT_EQ(stations.children[2].detail, "1750 m");
    EXPECT_EQ(stations.start.line, 22);
    EXPECT_EQ(stations.end.line, 37);
    EXPECT_EQ(train[5].children.front().name, "signal 1000 m");

    const std::vector<OutlineEntry> line = outlineOf(builtin.line, SourceKind::Line);
    const auto tunnels = std::find_if(line.begin(), line.end(),
                                      [](const auto& s) { return s.name == "[montagne]"; });
    ASSERT_NE(tunnels, line.end());
    ASSERT_EQ(tunnels->children.size(), 12u);
    EXPECT_EQ(tunnels->children.front().name, "tunnel 3000 to 3350 m");
}

TEST(SourceFixes, ReplacesTheColumnsWithTheSuggestion) {
    Diagnostic d = makeWarning("unknown-record", {"f", 3, 1, 7}, "\"stazone\" is no record");
    EXPECT_FALSE(fixFor(d));
    d.suggestion = "stazione";
    const std::optional<TextFix> fix = fixFor(d);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->title, "did you mean stazione");
    EXPECT_EQ(std::tie(fix->spot.line, fix->spot.first, fix->spot.last), std::make_tuple(2, 0, 7));
    EXPECT_EQ(fix->replacement, "stazione");
    d.location.firstColumn = 0;  // no columns, no place to put it
    EXPECT_FALSE(fixFor(d));
}

}  // namespace
}  // namespace scenario

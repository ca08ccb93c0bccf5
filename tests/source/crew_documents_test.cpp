// The built-in crew documents.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "source/builtin_tables.h"
#include "source/line_table_checks.h"

namespace scenario {
namespace {

std::string lineAt(const std::vector<std::string>& lines, int number) {
    return lines.at(number - 1);
}

// The station names as the train source file gives them: the text after each record's last comma.
std::vector<std::string> stationNames() {
    const std::vector<std::string> lines = fileLines(trainSourceTable());
    std::vector<std::string> names;
    for (int number = 24; number <= 38; ++number) {
        const std::string line = lineAt(lines, number);
        names.push_back(line.substr(line.rfind(", ") + 2));
    }
    return names;
}

// The tunnel name of a sign line of the line source file: its first bracket group's text.
std::string tunnelNameOnSign(int number) {
    const std::string line = lineAt(fileLines(lineSourceTable()), number);
    const std::size_t open = line.find('(');
    return line.substr(open + 1, line.find(")(") - open - 1);
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isCapital(char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
}

std::vector<std::size_t> barColumns(const std::string& line) {
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '|') columns.push_back(i);
    }
    return columns;
}

TEST(CrewDocuments, EachTableHasItsLinesThenTheSentinel) {
    EXPECT_TRUE(hasSentinelAt(trainCardTable(), 38));
    EXPECT_TRUE(hasSentinelAt(slowOrderNoticeTable(), 5));
    EXPECT_TRUE(hasSentinelAt(notesTable(), 15));
}

TEST(TrainCard, FrameLinesAreExact) {
    const std::vector<std::string> lines = fileLines(trainCardTable());
    const std::string rule =
        " |_____|_____|__________|_____|____________________________|_________________|_____|";
    struct Case {
        int number;
        std::string text;
    } cases[] = {
        {1, "  ___________________                                               ______________"},
        {2, " |                   |               SCHEDA                        |              |"},
        {5, "                                                                   |______________|"},
        {6, "  ___________________                ___________________"},
        {7, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
        {8, " |     REGIONALE     |              |      250T         |"},
        {9, " |___________________|              |___________________|"},
        {10, ""},
        {11, "  _________________________________________________________________________________"},
        {12,
         " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |"},
        {13,
         " | Lim.|Marc.|          | Rs  |                            |                 |     |"},
        {14, rule},
        {35, rule},
        {36, ""},
        {37, ""},
        {38, "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'."},
    };
    for (const Case& c : cases) EXPECT_EQ(lineAt(lines, c.number), c.text) << "line " << c.number;
    for (const std::string& line : lines) EXPECT_TRUE(isAscii(line)) << line;
}

TEST(TrainCard, HeaderNamesTheRouteEndStations) {
    const std::vector<std::string> lines = fileLines(trainCardTable());
    const std::vector<std::size_t> bars = {1, 21, 67, 82};

    // The first station goes by the same short name as in the line source's altitude comment.
    const std::string altitude = lineAt(fileLines(lineSourceTable()), 51);
    const std::size_t head = std::string("- Altitudine iniziale ").size();
    const std::size_t tail = std::string(" = 51 m.").size();
    const std::string shortName = altitude.substr(head, altitude.size() - head - tail);
    const std::string from = lineAt(lines, 3);
    EXPECT_EQ(from, " |   TRENO n. 30752  |" + std::string(14, ' ') + "da: " + shortName +
                        std::string(67 - 40 - shortName.size(), ' ') + "|    V140 C    |");
    EXPECT_EQ(barColumns(from), bars);

    const std::string lastName = stationNames().back();
    const std::string to = lineAt(lines, 4);
    EXPECT_EQ(to, " |___________________|" + std::string(15, ' ') + "a: " + lastName +
                      std::string(67 - 40 - lastName.size(), ' ') + "|     120%     |");
    EXPECT_EQ(barColumns(to), bars);
}

enum class Times { DepartureOnly, Passing, HalfMinuteStop, Stop, ArrivalOnly };

std::string timeCell(Times layout, const std::string& first, const std::string& second) {
    switch (layout) {
        case Times::DepartureOnly:
            return std::string(11, ' ') + first + " ";
        case Times::Passing:
            return std::string(6, ' ') + first + std::string(6, ' ');
        case Times::HalfMinuteStop:
            return " " + first + "+    " + second + " ";
        case Times::Stop:
            return " " + first + "     " + second + " ";
        case Times::ArrivalOnly:
            return " " + first + std::string(11, ' ');
    }
    return {};
}

TEST(TrainCard, TimetableRowsFollowTheCellLayout) {
    const std::vector<std::string> lines = fileLines(trainCardTable());
    const std::vector<std::string> station = stationNames();
    // The run enters the tunnel whose sign stands just after the 130 km/h board.
    const std::string tunnel = tunnelNameOnSign(125);

    struct Row {
        int number;
        int speed;  // 0: no limit shown
        const char* km;
        std::string location;
        Times layout;
        const char* first;
        const char* second;
    } rows[] = {
        {15, 75, "0.000", station[0], Times::DepartureOnly, "14.23", ""},
        {16, 0, "1.210", station[1], Times::Passing, "14.24", ""},
        {17, 0, "1.722", station[2], Times::HalfMinuteStop, "14.25", "14.26"},
        {18, 0, "2.146", station[3], Times::Passing, "14.27", ""},
        {19, 0, "4.308", station[4], Times::HalfMinuteStop, "14.28", "14.29"},
        {20, 100, "5.000", "Cippo Chilometro 5", Times::Passing, "14.31", ""},
        {21, 0, "6.900", station[5], Times::HalfMinuteStop, "14.33", "14.34"},
        {22, 0, "8.730", station[6], Times::Stop, "14.38", "14.39"},
        {23, 0, "11.900", station[7], Times::HalfMinuteStop, "14.42", "14.43"},
        {24, 0, "14.376", station[8], Times::HalfMinuteStop, "14.45", "14.46"},
        {25, 110, "14.550", "Deviatoio di uscita", Times::Passing, "14.46", ""},
        {26, 0, "15.900", station[9], Times::HalfMinuteStop, "14.48", "14.49"},
        {27, 0, "19.800", station[10], Times::Stop, "14.54", "14.55"},
        {28, 100, "21.100", "Segnale avviso " + station[11], Times::Passing, "14.56", ""},
        {29, 0, "22.714", station[11], Times::Stop, "14.58", "14.59"},
        {30, 130, "23.750", "Imbocco galleria " + tunnel, Times::Passing, "15.01", ""},
        {31, 0, "26.450", station[12], Times::HalfMinuteStop, "15.03", "15.04"},
        {32, 100, "28.700", "Curva al Km. 28+700", Times::Passing, "15.06", ""},
        {33, 135, "29.853", station[13], Times::Stop, "15.07", "15.08"},
        {34, 0, "34.616", station[14], Times::ArrivalOnly, "15.13", ""},
    };
    const std::vector<std::size_t> bars = {1, 7, 13, 24, 30, 59, 77, 83};
    for (const Row& r : rows) {
        SCOPED_TRACE("line " + std::to_string(r.number));
        const std::string line = lineAt(lines, r.number);
        // Line 26 alone has one trailing blank after its last bar.
        EXPECT_EQ(line.size(), r.number == 26 ? 85u : 84u);
        EXPECT_EQ(barColumns(line), bars);

        ASSERT_LE(r.location.size(), 27u) << r.location;
        const std::string speed = r.speed == 0 ? "" : std::to_string(r.speed);
        const std::string km = r.km;
        const std::string expected =
            " |" + std::string(4 - speed.size(), ' ') + speed + " " + "|     |" +
            std::string(9 - km.size(), ' ') + km + " |     | " + r.location +
            std::string(27 - r.location.size(), ' ') + "|" + timeCell(r.layout, r.first, r.second) +
            "|     |" + (r.number == 26 ? " " : "");
        EXPECT_EQ(line, expected);
    }
    EXPECT_EQ(
        lineAt(lines, 20),
        " | 100 |     |    5.000 |     | Cippo Chilometro 5         |      14.31      |     |");
    EXPECT_EQ(
        lineAt(lines, 32),
        " | 100 |     |   28.700 |     | Curva al Km. 28+700        |      15.06      |     |");
}

TEST(SlowOrderNotice, IsFourEmptyLinesThenTheNotice) {
    const std::vector<std::string> lines = fileLines(slowOrderNoticeTable());
    const std::vector<std::string> expected = {"", "", "", "",
                                               std::string(25, ' ') + "NESSUNA PRESCRIZIONE"};
    EXPECT_EQ(lines, expected);
}

TEST(Notes, FixedLinesAndTitle) {
    const std::vector<std::string> lines = fileLines(notesTable());
    for (int number : {2, 4, 8, 11, 13}) EXPECT_EQ(lineAt(lines, number), "") << number;
    EXPECT_EQ(lineAt(lines, 3), " Note sullo scenario:");
    EXPECT_EQ(lineAt(lines, 10), "   ancora aperta al servizio viaggiatori.");
    EXPECT_EQ(lineAt(lines, 12), " - Non vi sono situazioni difficili in questo scenario.");

    const std::string head = std::string(17, ' ') + "Treno 30752 sul percorso ";
    const std::string title = lineAt(lines, 1);
    ASSERT_EQ(title.substr(0, head.size()), head);
    const std::vector<std::string> station = stationNames();
    EXPECT_EQ(upper(title.substr(head.size())), station.front() + " - " + station.back());

    EXPECT_EQ(lineAt(lines, 5).substr(0, 3), " - ");
    EXPECT_EQ(lineAt(lines, 6).substr(0, 3), "   ");
    EXPECT_EQ(lineAt(lines, 7).substr(0, 3), "   ");
}

TEST(Notes, AccentedLettersAreSingleWindows1252Bytes) {
    const std::vector<std::string> lines = fileLines(notesTable());
    for (int number : {5, 6}) {
        EXPECT_NE(lineAt(lines, number).find('\xE8'), std::string::npos) << number;  // è
        EXPECT_NE(lineAt(lines, number).find('\xE9'), std::string::npos) << number;  // é
    }
    // No other byte above ASCII, so no multi-byte sequence slipped in.
    for (const std::string& line : lines) {
        for (unsigned char c : line) EXPECT_TRUE(c < 0x80 || c == 0xE8 || c == 0xE9) << line;
    }
}

TEST(Notes, ExceptedStationIsOneThatTheTrainPasses) {
    const std::string line = lineAt(fileLines(notesTable()), 9);
    const std::string head = " - Il treno 30752 ferma in tutte le stazioni ad eccezione di '";
    const std::string tail = "' non";
    ASSERT_EQ(line.substr(0, head.size()), head);
    ASSERT_EQ(line.substr(line.size() - tail.size()), tail);
    const std::string name = line.substr(head.size(), line.size() - head.size() - tail.size());
    EXPECT_NE(name, upper(name)) << "mixed case expected";
    // The stations passed without a stop are the second and the fourth.
    const std::vector<std::string> station = stationNames();
    EXPECT_TRUE(upper(name) == station[1] || upper(name) == station[3]) << name;
}

TEST(Notes, SignatureAndContactNameNoPerson) {
    const std::vector<std::string> lines = fileLines(notesTable());
    const std::string signature = lineAt(lines, 14);
    ASSERT_GT(signature.size(), 8u);
    EXPECT_EQ(signature[0], ' ');
    EXPECT_NE(signature.find(" - "), std::string::npos);
    const std::string province = signature.substr(signature.size() - 5);
    EXPECT_TRUE(province[0] == ' ' && province[1] == '(' && isCapital(province[2]) &&
                isCapital(province[3]) && province[4] == ')')
        << signature;

    const std::string contact = lineAt(lines, 15);
    const std::string domain = "@example.org";
    ASSERT_GT(contact.size(), domain.size() + 1);
    EXPECT_EQ(contact[0], ' ');
    EXPECT_EQ(contact.substr(contact.size() - domain.size()), domain);
    EXPECT_EQ(contact.find(' ', 1), std::string::npos);
}

}  // namespace
}  // namespace scenario

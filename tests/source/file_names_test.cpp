#include "source/file_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(FileNames, ReadsTheKindAndTheNamesBackFromASourceFilesName) {
    const struct {
        const char* path;
        SourceKind kind;
        const char* lineStem;   // "" for none
        const char* trainStem;  // "" for none
    } cases[] = {
        {"dir/Roma_linea.txt", SourceKind::Line, "Roma", ""},
        {"Val_di_Susa_linea.txt", SourceKind::Line, "Val_di_Susa", ""},
        {"_linea.txt", SourceKind::Other, "", ""},
        {"Roma_2345-.txt", SourceKind::Train, "", "Roma_2345"},
        {"Val_di_Susa_12-.txt", SourceKind::Train, "", "Val_di_Susa_12"},
        {"Roma-.txt", SourceKind::Other, "", ""},
        {"_12-.txt", SourceKind::Other, "", ""},
        {"Roma_-.txt", SourceKind::Other, "", ""},
        {"Roma_linea.dat", SourceKind::Other, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sourceKindOf(c.path), c.kind) << c.path;
        const std::string name = fileNameOf(c.path);
        EXPECT_EQ(lineFileStem(name).value_or(""), c.lineStem) << c.path;
        EXPECT_EQ(trainFileStem(name).value_or(""), c.trainStem) << c.path;
    }
}

TEST(FileNames, NamesFromFilesPassTheRuleOfNamesTypedIn) {
    EXPECT_EQ(nameFromLineFile("a/Roma_linea.txt"), "Roma");
    EXPECT_EQ(numberFromTrainFile("a/Roma_2345-.txt", "Roma"), "2345");
    EXPECT_EQ(numberFromTrainFile("a/Roma_2345-.txt", "Milano"), "");
    EXPECT_EQ(numberFromTrainFile("a/Roma_-.txt", "Roma"), "");
    EXPECT_EQ(nameFromLineFile("con_linea.txt"), "");  // a device name under Windows

    std::string name;
    std::string number = "7";
    nameFromSourceFiles("x/a..b_linea.txt", "x/a..b_9-.txt", name, number);
    EXPECT_EQ(name, "scenario");
    EXPECT_EQ(number, "7");
}

}  // namespace
}  // namespace scenario

#include <gtest/gtest.h>

#include "compiler/track_model.h"
#include "output/file_store.h"

namespace scenario {
namespace {

TEST(FormLoad, TheBuiltInScenarioCompilesWithoutErrorAndItsSourcesAreGone) {
    MemoryStore store;
    ScenarioBuild build(store);
    build.Form_Load();
    EXPECT_EQ(build.errorCode, 0) << build.errorPosition << " " << build.failureReason;
    EXPECT_EQ(build.lastCellIndex, 820);
    EXPECT_FALSE(store.exists("Alderi_Moncasta_linea.txt"));
    EXPECT_FALSE(store.exists("Alderi_Moncasta_30752-.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_scheda_treno.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_rallentamenti.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_note.txt"));
    EXPECT_TRUE(build.sourceWarnings.empty());
}

}  // namespace
}  // namespace scenario

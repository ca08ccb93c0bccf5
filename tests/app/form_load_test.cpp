// The scenario program's build of its built-in scenario, over files in memory.
#include "app/form_load.h"

#include <gtest/gtest.h>

#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario {
namespace {

TEST(FormLoad, TheBuiltInScenarioCompilesWithoutErrorAndItsSourcesAreGone) {
    MemoryStore store;
    ScenarioBuild build;
    Form_Load(build, store);
    EXPECT_EQ(build.errorCode, 0) << build.errorPosition;
    EXPECT_EQ(build.lastCellIndex, 820);
    EXPECT_FALSE(store.exists("Alderi_Moncasta_linea.txt"));
    EXPECT_FALSE(store.exists("Alderi_Moncasta_30752-.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_scheda_treno.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_rallentamenti.txt"));
    EXPECT_TRUE(store.exists("Alderi_Moncasta_30752_note.txt"));
    EXPECT_TRUE(build.warnings.empty());
}

}  // namespace
}  // namespace scenario

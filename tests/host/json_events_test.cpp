// The design reader's use of simdjson beyond its plain interface.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/JsonEvents.h"

namespace zo {
namespace {

// Advice on the heap would reach every allocation of the process, so only an index with a
// mapping of its own is offered; a kernel without huge pages refuses the advice.
TEST(JsonEvents, OnlyTheIndexOfALargeTextIsOfferedForHugePages) {
    struct Row {
        const char* name;
        std::size_t bytes;
        bool offered;
    };
    const bool kernelHasThem = std::filesystem::exists("/sys/kernel/mm/transparent_hugepage");
    for (const Row& row : {Row{"a design of a megabyte, on the heap", std::size_t{1} << 20, false},
                           Row{"one of nine megabytes, mapped", std::size_t{9} << 20, true}}) {
        simdjson::ondemand::parser parser;
        ASSERT_EQ(parser.allocate(row.bytes), simdjson::SUCCESS) << row.name;
        EXPECT_EQ(json::OfferIndexForHugePages(parser, row.bytes), row.offered && kernelHasThem)
            << row.name;
    }
}

}  // namespace
}  // namespace zo

// The exception a call throws, for tests that check what it says.
#pragma once

#include <gtest/gtest.h>

#include <optional>

namespace zo::testing {

// The E that f throws; nothing, and a test failure, when f returns normally.
template <class E, class F>
std::optional<E> Thrown(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    ADD_FAILURE() << "nothing was thrown";
    return std::nullopt;
}

}  // namespace zo::testing

// The one exception type of the component: every error it raises carries a number, a source
// and a description, the way a host of the classic control model expects to read them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Export.h"

namespace zo {

// Number of every error the component raises itself (vbObjectError, 0x80040000).
inline constexpr std::int32_t kObjectError = -2147221504;
// The library name, used as the source of the component's own errors.
inline constexpr std::string_view kLibraryName = "ZoBtnBar";

// Numbers of the language runtime's own errors that the component can pass on.
inline constexpr std::int32_t kErrInvalidCall = 5;       // "Invalid procedure call or argument"
inline constexpr std::int32_t kErrOverflow = 6;          // "Overflow"
inline constexpr std::int32_t kErrSubscript = 9;         // "Subscript out of range"
inline constexpr std::int32_t kErrTypeMismatch = 13;     // "Type mismatch"
inline constexpr std::int32_t kErrDuplicateKey = 457;    // key already in a collection
inline constexpr std::int32_t kErrInvalidPicture = 481;  // "Invalid picture"

class ZO_API Error : public std::runtime_error {
public:
    Error(std::int32_t number, std::string source, std::string description);

    std::int32_t Number() const noexcept { return number_; }
    const std::string& Source() const noexcept { return source_; }
    const std::string& Description() const noexcept { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// Raises one of the component's own errors (number kObjectError).
[[noreturn]] ZO_API void RaiseObjectError(std::string description,
                                          std::string_view source = kLibraryName);

// Raises a runtime error by number with the runtime's standard description.
[[noreturn]] ZO_API void RaiseRuntimeError(std::int32_t number,
                                           std::string_view source = kLibraryName);

// The runtime's standard description of an error number ("" when unknown).
ZO_API std::string_view RuntimeErrorText(std::int32_t number);

}  // namespace zo

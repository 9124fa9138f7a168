#include "core/Error.h"

#include <utility>

namespace zo {

Error::Error(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

void RaiseObjectError(std::string description, std::string_view source) {
    throw Error(kObjectError, std::string(source), std::move(description));
}

std::string_view RuntimeErrorText(std::int32_t number) {
    switch (number) {
        case kErrInvalidCall:
            return "Invalid procedure call or argument";
        case kErrOverflow:
            return "Overflow";
        case kErrSubscript:
            return "Subscript out of range";
        case 11:
            return "Division by zero";
        case kErrTypeMismatch:
            return "Type mismatch";
        case 53:
            return "File not found";
        case 76:
            return "Path not found";
        case 380:
            return "Invalid property value";
        case 424:
            return "Object required";
        case kErrDuplicateKey:
            return "This key is already associated with an element of this collection";
        case kErrInvalidPicture:
            return "Invalid picture";
        default:
            return "";
    }
}

void RaiseRuntimeError(std::int32_t number, std::string_view source) {
    throw Error(number, std::string(source), std::string(RuntimeErrorText(number)));
}

}  // namespace zo

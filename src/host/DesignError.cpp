// What a design's load or save reports, and where each entry of a loaded design stood.
#include <cstdint>
#include <string>
#include <utility>

#include "host/DesignFile.h"

namespace zo {

DesignError::DesignError(std::string file, int line, std::string key, std::string message,
                         std::int32_t number, std::string source)
    : std::runtime_error(Compose(file, line, key, message, number, source)),
      file_(std::move(file)),
      line_(line),
      key_(std::move(key)),
      message_(std::move(message)),
      number_(number),
      source_(std::move(source)) {}

std::string DesignError::Compose(const std::string& file, int line, const std::string& key,
                                 const std::string& message, std::int32_t number,
                                 const std::string& source) {
    std::string s = file.empty() ? "design" : file;
    if (line > 0) s += ":" + std::to_string(line);
    s += ": ";
    if (!key.empty()) s += key + ": ";
    s += message;
    if (number != 0) {
        s += " (error " + std::to_string(number);
        if (!source.empty()) s += " from " + source;
        s += ")";
    }
    return s;
}

DesignError DesignError::At(const std::string& file, int line) const {
    return DesignError(file, line > 0 ? line : line_, key_, message_, number_, source_);
}

int LoadedDesign::LineOf(std::string_view key) const {
    const auto at = bag.Position(key);
    return at && *at < lines.size() ? lines[*at] : 0;
}

}  // namespace zo

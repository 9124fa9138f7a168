// A JSON text read with simdjson's On-Demand parser and handed to a handler as the events of
// nlohmann's SAX interface (null, boolean, number_integer, number_unsigned, number_float,
// string, key, start_object, end_object, start_array, end_array), in document order. A key
// comes as a std::string_view that stays valid until the read ends, where nlohmann's parser
// gives a string it refills for the next.
// simdjson finds the structure of a whole text with vector instructions and hands strings out
// unescaped in one buffer, where nlohmann's lexer goes a character at a time and copies each
// token; a large design reads several times faster this way.
// It tells nothing about errors: on any (malformed text, a handler's refusal) it returns false,
// and the caller reads the text again with nlohmann, whose messages and line numbers the
// design file's errors give. Internal to the library (DesignFile.cpp) and its tests.
#pragma once

#include <simdjson.h>
#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "host/DesignCodec.h"

namespace zo::json {

namespace od = simdjson::ondemand;

// The text of a JSON string from just after its opening quote, when it holds no escape: most of
// a design's strings (names, captions, pictures' bytes), taken where they stand rather than
// copied through simdjson's buffer. Nothing when there is an escape or a control character;
// the caller then lets simdjson unescape (or refuse) it. Reads whole words: the text is padded.
inline std::optional<std::string_view> PlainString(const char* start) {
    const char* p = start;
#if defined(__SSE2__)
    // Sixteen bytes at a time: the first that is '"', '\\' or below 0x20 ends the plain run.
    const __m128i quote = _mm_set1_epi8('"'), backslash = _mm_set1_epi8('\\');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    for (;; p += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(x, lastControl), x);
        const __m128i stop = _mm_or_si128(
            control, _mm_or_si128(_mm_cmpeq_epi8(x, quote), _mm_cmpeq_epi8(x, backslash)));
        if (const int m = _mm_movemask_epi8(stop)) {
            p += std::countr_zero(static_cast<unsigned>(m));
            break;
        }
    }
#else
    for (;; p += 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if (const std::uint64_t m = zo::design::EscapeMask(w)) {
            p += std::countr_zero(m) / 8;
            break;
        }
    }
#endif
    if (*p != '"') return std::nullopt;
    return std::string_view(start, static_cast<std::size_t>(p - start));
}

// simdjson keeps the structural index of a text (four bytes for each of its bytes, of which a
// design touches about half a byte's worth) in a member it names private "for benchmarking
// access"; an explicit instantiation may name it. On a large design the index's small pages
// cost more than half of a load's page faults, and each fault on a virtual machine costs more
// than filling its page, so the index is offered to the kernel for huge pages. Only an index
// past the heap's largest mapping threshold, which always has a mapping of its own: advice on
// the heap would reach the rest of the process. A simdjson without the member fails to build.
struct ParserImplementationTag {};
template <class Tag, auto Member>
struct Reach {
    friend auto MemberOf(Tag) { return Member; }
};
auto MemberOf(ParserImplementationTag);
template struct Reach<ParserImplementationTag, &od::parser::implementation>;

// Whether the index of a parser allocated for `capacity` bytes was offered. Only advice: where
// huge pages are off, the index works with small ones.
inline bool OfferIndexForHugePages(od::parser& parser, std::size_t capacity) {
    constexpr std::size_t kOwnMapping = std::size_t{32} << 20, kPage = 4096;
    const auto& implementation = parser.*MemberOf(ParserImplementationTag{});
    if (!implementation || capacity * 4 < kOwnMapping) return false;
    const auto at = reinterpret_cast<std::uintptr_t>(implementation->structural_indexes.get());
    if (at == 0) return false;
    const std::uintptr_t from = (at + kPage - 1) & ~std::uintptr_t{kPage - 1};
    const std::uintptr_t to = (at + capacity * 4) & ~std::uintptr_t{kPage - 1};
    return madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE) == 0;
}

// Before each key and each object or array, *cursor is set to where its token starts in the
// text, so a handler that keeps offsets finds the same lines as with nlohmann's cursor.
template <class Handler>
class EventReader {
public:
    EventReader(Handler& handler, const char** cursor) : handler_(handler), cursor_(cursor) {}

    // text.data() must have simdjson::SIMDJSON_PADDING readable bytes after text.size().
    bool Run(std::string_view text) {
        od::parser parser;
        if (parser.allocate(text.size())) return false;
        OfferIndexForHugePages(parser, text.size());
        od::document doc;
        if (parser.iterate(text.data(), text.size(), text.size() + simdjson::SIMDJSON_PADDING)
                .get(doc))
            return false;
        od::object object;
        if (doc.get_object().get(object)) return false;
        if (!handler_.start_object(std::size_t(-1)) || !Members(object)) return false;
        // Nothing may follow the top object.
        return doc.current_location().error() == simdjson::OUT_OF_BOUNDS;
    }

private:
    bool Members(od::object& object) {
        for (auto member : object) {
            od::field field;
            std::string_view name;
            if (std::move(member).get(field)) return false;
            const char* at = field.key().raw();
            if (const auto plain = PlainString(at)) {
                name = *plain;
            } else if (field.unescaped_key().get(name)) {
                return false;
            }
            *cursor_ = at;
            if (!handler_.key(name) || !Value(field.value())) return false;
        }
        return handler_.end_object();
    }

    bool Value(od::value value) {
        od::json_type type;
        if (value.type().get(type)) return false;
        switch (type) {
            case od::json_type::object: {
                *cursor_ = value.raw_json_token().data();
                od::object object;
                if (value.get_object().get(object)) return false;
                return handler_.start_object(std::size_t(-1)) && Members(object);
            }
            case od::json_type::array: {
                *cursor_ = value.raw_json_token().data();
                od::array array;
                if (value.get_array().get(array)) return false;
                if (!handler_.start_array(std::size_t(-1))) return false;
                for (auto element : array) {
                    od::value v;
                    if (std::move(element).get(v) || !Value(v)) return false;
                }
                return handler_.end_array();
            }
            case od::json_type::number:
                return Number(value);
            case od::json_type::string: {
                // Left unread, a plain string is skipped over when the next value is read.
                std::string_view s;
                if (const auto plain = PlainString(value.raw_json_token().data() + 1))
                    s = *plain;
                else if (value.get_string().get(s))
                    return false;
                text_.assign(s);
                return handler_.string(text_);
            }
            case od::json_type::boolean: {
                bool b = false;
                return !value.get_bool().get(b) && handler_.boolean(b);
            }
            case od::json_type::null: {
                bool isNull = false;
                return !value.is_null().get(isNull) && isNull && handler_.null();
            }
        }
        return false;
    }

    bool Number(od::value& value) {
        od::number_type type;
        if (value.get_number_type().get(type)) return false;
        switch (type) {
            case od::number_type::signed_integer: {
                std::int64_t v = 0;
                return !value.get_int64().get(v) && handler_.number_integer(v);
            }
            case od::number_type::unsigned_integer: {
                std::uint64_t v = 0;
                return !value.get_uint64().get(v) && handler_.number_unsigned(v);
            }
            case od::number_type::floating_point_number: {
                double v = 0;
                return !value.get_double().get(v) && handler_.number_float(v, std::string());
            }
        }
        return false;
    }

    Handler& handler_;
    const char** cursor_;
    std::string text_;  // handed over for the handler to take
};

}  // namespace zo::json

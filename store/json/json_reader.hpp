// Strict JSON reader (RFC 8259) building an in-memory document.
//
// Every value records the byte range it spans in the input, so a caller can
// place a later conversion error; line and column are computed only then.
// A syntax error keeps everything read before it: containers open at the
// error are closed and marked incomplete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::store::json {

// The deepest nesting accepted is nesting_budget - 1 arrays/objects; the
// opening bracket of the next level fails with recursion_limit_exceeded.
inline constexpr std::size_t nesting_budget = 128;

enum class ErrorCode : std::uint8_t {
  eof_while_parsing_list,
  eof_while_parsing_object,
  eof_while_parsing_string,
  eof_while_parsing_value,
  expected_colon,
  expected_list_comma_or_end,
  expected_object_comma_or_end,
  expected_ident,
  expected_value,
  expected_quote,  // never raised by the reader; kept for conversion layers
  invalid_escape,
  invalid_number,
  number_out_of_range,
  invalid_unicode_code_point,
  control_character_while_parsing_string,
  key_must_be_a_string,
  lone_leading_surrogate_in_hex_escape,
  trailing_comma,
  trailing_characters,
  unexpected_end_of_hex_escape,
  recursion_limit_exceeded,
};

// The fixed message text, e.g. "expected `,` or `]`".
std::string_view message(ErrorCode code) noexcept;

// One-based line; the column counts the bytes of the current line up to and
// including the byte at offset - 1 (0 right after a line feed or at offset 0).
struct Position {
  std::size_t line = 1;
  std::size_t column = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

// Position after consuming the first `offset` bytes of `text`.
// For a value v: its first byte is at position_at(text, v.begin() + 1),
// its last byte at position_at(text, v.end()).
Position position_at(std::string_view text, std::size_t offset) noexcept;

// "{message} at line {line} column {column}"
std::string at_position(std::string_view message, Position position);

// The reader counts the byte that breaks the grammar, or every byte when the
// text ends early. A number out of range, a lone surrogate, an invalid code
// point and a bad hex digit end after the last byte read for them.
struct Error {
  ErrorCode code{};
  std::size_t offset = 0;  // bytes consumed when the reader stopped
  Position position;       // position_at(text, offset)

  std::string_view message() const noexcept { return json::message(code); }
  std::string text() const { return at_position(message(), position); }
};

enum class Kind : std::uint8_t { null, boolean, u64, i64, f64, string, array, object };

namespace detail {
class Reader;
}

class Value;

struct Member {
  const Value& key;    // always a string
  const Value* value;  // nullptr only for the key that ends an incomplete object
};

// A node of a Document. Accessors for another kind than kind() are undefined.
class Value {
 public:
  Kind kind() const noexcept { return static_cast<Kind>(hi_ >> kind_shift & 0x0F); }
  bool is_null() const noexcept { return kind() == Kind::null; }
  bool is_bool() const noexcept { return kind() == Kind::boolean; }
  bool is_number() const noexcept {
    return kind() == Kind::u64 || kind() == Kind::i64 || kind() == Kind::f64;
  }
  bool is_string() const noexcept { return kind() == Kind::string; }
  bool is_array() const noexcept { return kind() == Kind::array; }
  bool is_object() const noexcept { return kind() == Kind::object; }

  bool as_bool() const noexcept { return data_.b; }
  std::uint64_t as_u64() const noexcept { return data_.u; }
  std::int64_t as_i64() const noexcept { return data_.i; }
  double as_f64() const noexcept { return data_.f; }
  // Any number converted to the nearest double.
  double to_f64() const noexcept;
  // Decoded UTF-8 content.
  std::string_view as_string() const noexcept { return {data_.s, slots()}; }

  // Byte range [begin, end) of the value in the input text. An incomplete
  // container ends where the reader stopped.
  std::size_t begin() const noexcept { return static_cast<std::size_t>(lo_ & offset_mask); }
  std::size_t end() const noexcept { return static_cast<std::size_t>(hi_ & offset_mask); }

  // An array or object that was still open when a syntax error stopped the
  // reader. It holds only the values fully read before the error.
  bool incomplete() const noexcept { return (hi_ & incomplete_bit) != 0; }

  // Array: number of elements. Object: number of members. String: bytes.
  std::size_t size() const noexcept {
    return kind() == Kind::object ? (slots() + 1) / 2 : slots();
  }

  std::span<const Value> elements() const noexcept { return {data_.first, slots()}; }

  // Members in text order, duplicate keys included.
  Member member(std::size_t i) const noexcept {
    return {data_.first[2 * i], 2 * i + 1 < slots() ? &data_.first[2 * i + 1] : nullptr};
  }
  class MemberIterator;
  struct MemberRange;
  MemberRange members() const noexcept;

  // Value of the last member with this key (the last occurrence wins), or nullptr.
  const Value* find(std::string_view key) const noexcept;

 private:
  friend class detail::Reader;
  // Objects count keys and values, so a key left without value is visible.
  std::size_t slots() const noexcept {
    return static_cast<std::size_t>(lo_ >> size_low_shift | (hi_ >> size_high_shift) << size_low_bits);
  }

  union Data {
    bool b;
    std::uint64_t u;
    std::int64_t i;
    double f;
    const char* s;
    const Value* first;  // children; objects hold key, value, key, value, ...
  } data_;
  // 24 bytes per value. lo_: begin (bits 0-39), size bits 0-23 (40-63).
  // hi_: end (0-39), kind (40-43), incomplete (44), size bits 24-42 (45-63).
  static constexpr std::uint64_t offset_mask = (std::uint64_t{1} << 40) - 1;
  static constexpr unsigned size_low_shift = 40;
  static constexpr unsigned size_low_bits = 24;
  static constexpr unsigned kind_shift = 40;
  static constexpr std::uint64_t incomplete_bit = std::uint64_t{1} << 44;
  static constexpr unsigned size_high_shift = 45;
  std::uint64_t lo_;
  std::uint64_t hi_;
};

class Value::MemberIterator {
 public:
  MemberIterator(const Value* object, std::size_t index) : object_(object), index_(index) {}
  Member operator*() const noexcept { return object_->member(index_); }
  MemberIterator& operator++() noexcept {
    ++index_;
    return *this;
  }
  bool operator==(const MemberIterator& other) const noexcept { return index_ == other.index_; }

 private:
  const Value* object_;
  std::size_t index_;
};

struct Value::MemberRange {
  const Value* object;
  MemberIterator begin() const noexcept { return {object, 0}; }
  MemberIterator end() const noexcept { return {object, object->size()}; }
};

inline Value::MemberRange Value::members() const noexcept { return {this}; }

// Owns the values of one parse. Strings without escapes are views into the
// input text, which must outlive the document. Moving keeps every Value
// address valid.
class Document {
 public:
  Document() = default;
  Document(Document&&) noexcept = default;
  Document& operator=(Document&&) noexcept = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // nullptr when the text failed before its top-level value was begun as a
  // container or read completely.
  const Value* root() const noexcept { return root_; }
  std::string_view text() const noexcept { return text_; }
  Position position_at(std::size_t offset) const noexcept {
    return json::position_at(text_, offset);
  }

 private:
  friend class detail::Reader;
  std::string_view text_;
  const Value* root_ = nullptr;
  std::vector<std::unique_ptr<Value[]>> blocks_;
  std::unique_ptr<char[]> strings_;  // decoded strings that contained escapes
};

struct ParseResult {
  Document document;           // complete when error is empty, partial otherwise
  std::optional<Error> error;  // the first syntax error
};

// Largest text accepted; a longer one throws std::bad_alloc, as its document
// could not be represented.
inline constexpr std::size_t max_text_size = (std::size_t{1} << 40) - 1;

// Reads `text` as one JSON value followed only by JSON whitespace.
ParseResult parse(std::string_view text);

}  // namespace ostrel::store::json

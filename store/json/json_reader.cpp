#include "store/json/json_reader.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>

namespace ostrel::store::json {

std::string_view message(ErrorCode code) noexcept {
  switch (code) {
    case ErrorCode::eof_while_parsing_list: return "EOF while parsing a list";
    case ErrorCode::eof_while_parsing_object: return "EOF while parsing an object";
    case ErrorCode::eof_while_parsing_string: return "EOF while parsing a string";
    case ErrorCode::eof_while_parsing_value: return "EOF while parsing a value";
    case ErrorCode::expected_colon: return "expected `:`";
    case ErrorCode::expected_list_comma_or_end: return "expected `,` or `]`";
    case ErrorCode::expected_object_comma_or_end: return "expected `,` or `}`";
    case ErrorCode::expected_ident: return "expected ident";
    case ErrorCode::expected_value: return "expected value";
    case ErrorCode::expected_quote: return "expected `\"`";
    case ErrorCode::invalid_escape: return "invalid escape";
    case ErrorCode::invalid_number: return "invalid number";
    case ErrorCode::number_out_of_range: return "number out of range";
    case ErrorCode::invalid_unicode_code_point: return "invalid unicode code point";
    case ErrorCode::control_character_while_parsing_string:
      return "control character (\\u0000-\\u001F) found while parsing a string";
    case ErrorCode::key_must_be_a_string: return "key must be a string";
    case ErrorCode::lone_leading_surrogate_in_hex_escape:
      return "lone leading surrogate in hex escape";
    case ErrorCode::trailing_comma: return "trailing comma";
    case ErrorCode::trailing_characters: return "trailing characters";
    case ErrorCode::unexpected_end_of_hex_escape: return "unexpected end of hex escape";
    case ErrorCode::recursion_limit_exceeded: return "recursion limit exceeded";
  }
  return "unknown error";
}

Position position_at(std::string_view text, std::size_t offset) noexcept {
  offset = std::min(offset, text.size());
  const std::string_view head = text.substr(0, offset);
  const std::size_t lines = static_cast<std::size_t>(std::count(head.begin(), head.end(), '\n'));
  const std::size_t last_lf = head.rfind('\n');
  const std::size_t column = last_lf == std::string_view::npos ? offset : offset - last_lf - 1;
  return {lines + 1, column};
}

std::string at_position(std::string_view message, Position position) {
  std::string out(message);
  out += " at line ";
  out += std::to_string(position.line);
  out += " column ";
  out += std::to_string(position.column);
  return out;
}

double Value::to_f64() const noexcept {
  switch (kind()) {
    case Kind::u64: return static_cast<double>(data_.u);
    case Kind::i64: return static_cast<double>(data_.i);
    default: return data_.f;
  }
}

const Value* Value::find(std::string_view key) const noexcept {
  for (std::size_t i = slots() / 2; i-- > 0;) {
    if (data_.first[2 * i].as_string() == key) return &data_.first[2 * i + 1];
  }
  return nullptr;
}

namespace detail {

namespace {

// Bytes that end the fast scan of a string: quote, backslash, control bytes.
constexpr std::array<bool, 256> string_stop = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 0x20; ++c) t[static_cast<std::size_t>(c)] = true;
  t['"'] = true;
  t['\\'] = true;
  return t;
}();

constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

constexpr bool is_space(char c) noexcept {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

int hex_value(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::array<double, 23> exact_powers = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Called only when the correctly rounded value is not representable: decides
// whether the decimal is huge (overflow) or tiny (underflow to zero).
bool decimal_is_huge(const char* p, const char* end) noexcept {
  if (*p == '-') ++p;
  std::int64_t int_digits = 0;
  std::int64_t first_nonzero = -1;
  std::int64_t index = 0;
  for (; p != end && is_digit(*p); ++p, ++index, ++int_digits) {
    if (first_nonzero < 0 && *p != '0') first_nonzero = index;
  }
  if (p != end && *p == '.') {
    for (++p; p != end && is_digit(*p); ++p, ++index) {
      if (first_nonzero < 0 && *p != '0') first_nonzero = index;
    }
  }
  std::int64_t exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    for (; p != end; ++p) exponent = std::min<std::int64_t>(exponent * 10 + (*p - '0'), 1'000'000'000'000);
    if (negative) exponent = -exponent;
  }
  return first_nonzero >= 0 && int_digits - first_nonzero - 1 + exponent > 0;
}

}  // namespace

class Reader {
 public:
  Reader(std::string_view text, Document& doc)
      : start_(text.data()), p_(text.data()), end_(text.data() + text.size()), doc_(doc) {
    doc_.text_ = text;
  }

  std::optional<Error> run() {
    bool ok = value();
    if (ok) {
      skip_space();
      if (p_ != end_) ok = fail(ErrorCode::trailing_characters, p_ + 1);
    }
    if (!stack_.empty()) doc_.root_ = place(stack_.data(), 1);
    if (ok) return std::nullopt;
    const std::size_t offset = static_cast<std::size_t>(error_at_ - start_);
    return Error{code_, offset, position_at(doc_.text_, offset)};
  }

 private:
  // `at` is one past the last byte the reader consumed or looked at.
  bool fail(ErrorCode code, const char* at) noexcept {
    code_ = code;
    error_at_ = at;
    return false;
  }

  void skip_space() noexcept {
    while (p_ != end_ && is_space(*p_)) ++p_;
  }

  std::uint64_t offset(const char* at) const noexcept {
    return static_cast<std::uint64_t>(at - start_);
  }

  void push(Value::Data data, Kind kind, std::uint64_t size, const char* begin, const char* end) {
    Value& v = stack_.emplace_back();
    v.data_ = data;
    v.lo_ = offset(begin) | size << Value::size_low_shift;
    v.hi_ = offset(end) | static_cast<std::uint64_t>(kind) << Value::kind_shift |
            (size >> Value::size_low_bits) << Value::size_high_shift;
  }

  // Copies n values into stable storage; children of one container stay contiguous.
  const Value* place(const Value* src, std::size_t n) {
    if (n == 0) return nullptr;
    if (block_left_ < n) {
      const std::size_t size = std::max(n, next_block_);
      next_block_ = std::min<std::size_t>(next_block_ * 2, std::size_t{1} << 16);
      doc_.blocks_.push_back(std::make_unique_for_overwrite<Value[]>(size));
      block_next_ = doc_.blocks_.back().get();
      block_left_ = size;
    }
    Value* dst = block_next_;
    std::copy(src, src + n, dst);
    block_next_ += n;
    block_left_ -= n;
    return dst;
  }

  // Replaces the children above `mark` on the stack by their container.
  void close(std::size_t mark, Kind kind, const char* begin, const char* end, bool incomplete) {
    const std::size_t n = stack_.size() - mark;
    Value::Data data;
    data.first = place(stack_.data() + mark, n);
    stack_.resize(mark);
    push(data, kind, n, begin, end);
    if (incomplete) stack_.back().hi_ |= Value::incomplete_bit;
  }

  bool value() {
    skip_space();
    if (p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);
    switch (*p_) {
      case '"': return string();
      case '[': return array();
      case '{': return object();
      case 't': return literal("true", Kind::boolean, true);
      case 'f': return literal("false", Kind::boolean, false);
      case 'n': return literal("null", Kind::null, false);
      case '-':
      case '0': case '1': case '2': case '3': case '4':
      case '5': case '6': case '7': case '8': case '9':
        return number();
      default: return fail(ErrorCode::expected_value, p_ + 1);
    }
  }

  bool literal(std::string_view word, Kind kind, bool flag) {
    const char* begin = p_;
    for (const char c : word) {
      if (p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);
      if (*p_ != c) return fail(ErrorCode::expected_ident, p_ + 1);
      ++p_;
    }
    Value::Data data;
    data.u = 0;
    data.b = flag;
    push(data, kind, 0, begin, p_);
    return true;
  }

  bool enter() noexcept {
    if (--depth_left_ == 0) return fail(ErrorCode::recursion_limit_exceeded, p_ + 1);
    return true;
  }

  bool array() {
    const char* begin = p_;
    if (!enter()) return false;
    ++p_;
    const std::size_t mark = stack_.size();
    const auto broken = [&](ErrorCode code, const char* at) {
      fail(code, at);
      return abandon(mark, Kind::array, begin);
    };
    skip_space();
    if (p_ == end_) return broken(ErrorCode::eof_while_parsing_list, end_);
    if (*p_ != ']') {
      for (;;) {
        if (!value()) return abandon(mark, Kind::array, begin);
        skip_space();
        if (p_ == end_) return broken(ErrorCode::eof_while_parsing_list, end_);
        if (*p_ == ',') {
          ++p_;
          skip_space();
          if (p_ != end_ && *p_ == ']') return broken(ErrorCode::trailing_comma, p_ + 1);
          continue;
        }
        if (*p_ == ']') break;
        return broken(ErrorCode::expected_list_comma_or_end, p_ + 1);
      }
    }
    ++p_;
    ++depth_left_;
    close(mark, Kind::array, begin, p_, false);
    return true;
  }

  bool object() {
    const char* begin = p_;
    if (!enter()) return false;
    ++p_;
    const std::size_t mark = stack_.size();
    const auto broken = [&](ErrorCode code, const char* at) {
      fail(code, at);
      return abandon(mark, Kind::object, begin);
    };
    skip_space();
    if (p_ == end_) return broken(ErrorCode::eof_while_parsing_object, end_);
    if (*p_ != '}') {
      for (;;) {
        if (*p_ != '"') return broken(ErrorCode::key_must_be_a_string, p_ + 1);
        if (!string()) return abandon(mark, Kind::object, begin);
        skip_space();
        if (p_ == end_) return broken(ErrorCode::eof_while_parsing_object, end_);
        if (*p_ != ':') return broken(ErrorCode::expected_colon, p_ + 1);
        ++p_;
        if (!value()) return abandon(mark, Kind::object, begin);
        skip_space();
        if (p_ == end_) return broken(ErrorCode::eof_while_parsing_object, end_);
        if (*p_ == ',') {
          ++p_;
          skip_space();
          if (p_ == end_) return broken(ErrorCode::eof_while_parsing_value, end_);
          if (*p_ == '}') return broken(ErrorCode::trailing_comma, p_ + 1);
          continue;
        }
        if (*p_ == '}') break;
        return broken(ErrorCode::expected_object_comma_or_end, p_ + 1);
      }
    }
    ++p_;
    ++depth_left_;
    close(mark, Kind::object, begin, p_, false);
    return true;
  }

  // Keeps what was read of a container that an error interrupted.
  bool abandon(std::size_t mark, Kind kind, const char* begin) {
    close(mark, kind, begin, error_at_, true);
    return false;
  }

  bool string() {
    const char* begin = p_;
    const char* content = ++p_;
    for (;;) {
      if (p_ == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      if (string_stop[static_cast<unsigned char>(*p_)]) break;
      ++p_;
    }
    if (*p_ == '"') {
      ++p_;
      Value::Data data;
      data.s = content;
      push(data, Kind::string, static_cast<std::uint64_t>(p_ - 1 - content), begin, p_);
      return true;
    }
    if (*p_ != '\\') return fail(ErrorCode::control_character_while_parsing_string, p_ + 1);
    return escaped_string(begin, content);
  }

  // Decodes into the string arena. Its capacity, set at the first escape,
  // is the rest of the input: decoding never lengthens a string.
  bool escaped_string(const char* begin, const char* content) {
    if (!doc_.strings_) {
      doc_.strings_ = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(end_ - content));
      arena_next_ = doc_.strings_.get();
    }
    char* const out_begin = arena_next_;
    char* out = std::copy(content, p_, out_begin);
    for (;;) {
      if (p_ == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      const char c = *p_;
      if (!string_stop[static_cast<unsigned char>(c)]) {
        *out++ = c;
        ++p_;
        continue;
      }
      if (c == '"') break;
      if (c != '\\') return fail(ErrorCode::control_character_while_parsing_string, p_ + 1);
      if (++p_ == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      switch (*p_++) {
        case '"': *out++ = '"'; break;
        case '\\': *out++ = '\\'; break;
        case '/': *out++ = '/'; break;
        case 'b': *out++ = '\b'; break;
        case 'f': *out++ = '\f'; break;
        case 'n': *out++ = '\n'; break;
        case 'r': *out++ = '\r'; break;
        case 't': *out++ = '\t'; break;
        case 'u':
          if (!unicode_escape(out)) return false;
          break;
        default: return fail(ErrorCode::invalid_escape, p_);
      }
    }
    ++p_;
    arena_next_ = out;
    Value::Data data;
    data.s = out_begin;
    push(data, Kind::string, static_cast<std::uint64_t>(out - out_begin), begin, p_);
    return true;
  }

  bool hex4(std::uint32_t& unit) noexcept {
    unit = 0;
    for (int i = 0; i < 4; ++i) {
      if (p_ == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      const int h = hex_value(*p_++);
      if (h < 0) return fail(ErrorCode::unexpected_end_of_hex_escape, p_);
      unit = unit << 4 | static_cast<std::uint32_t>(h);
    }
    return true;
  }

  // After "\u": one code unit, or a high and a low surrogate escape.
  bool unicode_escape(char*& out) noexcept {
    std::uint32_t cp = 0;
    if (!hex4(cp)) return false;
    if (cp >= 0xDC00 && cp <= 0xDFFF) return fail(ErrorCode::invalid_unicode_code_point, p_);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (p_ == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      if (*p_ != '\\') return fail(ErrorCode::lone_leading_surrogate_in_hex_escape, p_);
      if (p_ + 1 == end_) return fail(ErrorCode::eof_while_parsing_string, end_);
      if (p_[1] != 'u') return fail(ErrorCode::lone_leading_surrogate_in_hex_escape, p_);
      p_ += 2;
      std::uint32_t low = 0;
      if (!hex4(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return fail(ErrorCode::lone_leading_surrogate_in_hex_escape, p_);
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    }
    if (cp < 0x80) {
      *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *out++ = static_cast<char>(0xC0 | cp >> 6);
      *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *out++ = static_cast<char>(0xE0 | cp >> 12);
      *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *out++ = static_cast<char>(0xF0 | cp >> 18);
      *out++ = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return true;
  }

  bool number() {
    const char* begin = p_;
    const bool negative = *p_ == '-';
    if (negative && ++p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);

    // Up to 19 significant digits fit the mantissa exactly.
    std::uint64_t mantissa = 0;
    int digits = 0;
    bool exact = true;  // every digit is in mantissa
    if (*p_ == '0') {
      ++p_;
      if (p_ != end_ && is_digit(*p_)) return fail(ErrorCode::invalid_number, p_ + 1);
    } else if (is_digit(*p_)) {
      for (; p_ != end_ && is_digit(*p_); ++p_) {
        if (digits < 19) {
          mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p_ - '0');
          ++digits;
        } else {
          exact = false;
          digits = std::min(digits + 1, 21);  // only 20 matters below
        }
      }
    } else {
      return fail(ErrorCode::invalid_number, p_ + 1);
    }
    const int int_digits = digits;

    std::int64_t exponent = 0;
    bool is_float = false;
    if (p_ != end_ && *p_ == '.') {
      is_float = true;
      if (++p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);
      if (!is_digit(*p_)) return fail(ErrorCode::invalid_number, p_ + 1);
      for (; p_ != end_ && is_digit(*p_); ++p_) {
        if (mantissa == 0 && *p_ == '0') {
          --exponent;  // leading zeros of a fraction cost no mantissa digit
        } else if (digits < 19) {
          mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p_ - '0');
          ++digits;
          --exponent;
        } else {
          exact = false;
        }
      }
    }
    if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
      is_float = true;
      if (++p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);
      bool exp_negative = false;
      if (*p_ == '+' || *p_ == '-') {
        exp_negative = *p_ == '-';
        if (++p_ == end_) return fail(ErrorCode::eof_while_parsing_value, end_);
      }
      if (!is_digit(*p_)) return fail(ErrorCode::invalid_number, p_ + 1);
      std::int64_t e = 0;
      for (; p_ != end_ && is_digit(*p_); ++p_) e = std::min<std::int64_t>(e * 10 + (*p_ - '0'), 1'000'000'000);
      exponent += exp_negative ? -e : e;
    }

    Value::Data data;
    if (!is_float) {
      if (exact || int_digits == 20) {
        std::uint64_t value = mantissa;
        bool fits = exact;
        if (!exact) {
          // The 20th digit: fits when mantissa * 10 + d <= 2^64 - 1.
          constexpr std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() / 10;
          const auto d = static_cast<std::uint64_t>(p_[-1] - '0');
          fits = mantissa < limit || (mantissa == limit && d <= 5);
          value = mantissa * 10 + d;
        }
        if (fits && !negative) {
          data.u = value;
          push(data, Kind::u64, 0, begin, p_);
          return true;
        }
        // "-0" reads as the float negative zero, like any other number that is not a
        // representable negative integer.
        if (fits && value == 0) {
          data.f = -0.0;
          push(data, Kind::f64, 0, begin, p_);
          return true;
        }
        if (fits && value <= std::uint64_t{1} << 63) {
          data.i = static_cast<std::int64_t>(~value + 1);
          push(data, Kind::i64, 0, begin, p_);
          return true;
        }
      }
    } else if (exact && mantissa <= std::uint64_t{1} << 53 && exponent >= -22 && exponent <= 22) {
      // Both operands are exact doubles, so one operation rounds correctly.
      double d = static_cast<double>(mantissa);
      d = exponent < 0 ? d / exact_powers[static_cast<std::size_t>(-exponent)]
                       : d * exact_powers[static_cast<std::size_t>(exponent)];
      data.f = negative ? -d : d;
      push(data, Kind::f64, 0, begin, p_);
      return true;
    }

    double d = 0.0;
    const auto [ptr, ec] = std::from_chars(begin, p_, d);
    if (ec == std::errc::result_out_of_range) {
      if (decimal_is_huge(begin, p_)) return fail(ErrorCode::number_out_of_range, p_);
      d = negative ? -0.0 : 0.0;
    } else if (ec != std::errc{} || ptr != p_) {
      return fail(ErrorCode::invalid_number, p_);  // unreachable for validated text
    }
    data.f = d;
    push(data, Kind::f64, 0, begin, p_);
    return true;
  }

  const char* const start_;
  const char* p_;
  const char* const end_;
  Document& doc_;
  std::vector<Value> stack_;
  std::size_t depth_left_ = nesting_budget;
  ErrorCode code_{};
  const char* error_at_ = nullptr;
  Value* block_next_ = nullptr;
  std::size_t block_left_ = 0;
  std::size_t next_block_ = 64;
  char* arena_next_ = nullptr;
};

}  // namespace detail

ParseResult parse(std::string_view text) {
  if (text.size() > max_text_size) throw std::bad_alloc();
  ParseResult result;
  detail::Reader reader(text, result.document);
  result.error = reader.run();
  return result;
}

}  // namespace ostrel::store::json

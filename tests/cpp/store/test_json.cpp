#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "store/json/json_reader.hpp"
#include "store/json/json_writer.hpp"

namespace json = ostrel::store::json;

namespace {

// Compact typed rendering: u/i/f prefix the number kinds, an incomplete
// container lacks its closing bracket, a key without value ends in ':'.
void dump(const json::Value& v, std::string& out) {
  switch (v.kind()) {
    case json::Kind::null: out += "null"; break;
    case json::Kind::boolean: out += v.as_bool() ? "true" : "false"; break;
    case json::Kind::u64: out += 'u' + std::to_string(v.as_u64()); break;
    case json::Kind::i64: out += 'i' + std::to_string(v.as_i64()); break;
    case json::Kind::f64: {
      char buf[64];
      const auto r = std::to_chars(buf, buf + sizeof buf, v.as_f64());
      out += 'f';
      out.append(buf, r.ptr);
      break;
    }
    case json::Kind::string: json::append_string(out, v.as_string()); break;
    case json::Kind::array: {
      out += '[';
      const char* sep = "";
      for (const json::Value& e : v.elements()) {
        out += sep;
        dump(e, out);
        sep = ",";
      }
      if (!v.incomplete()) out += ']';
      break;
    }
    case json::Kind::object: {
      out += '{';
      const char* sep = "";
      for (const json::Member m : v.members()) {
        out += sep;
        dump(m.key, out);
        out += ':';
        if (m.value) dump(*m.value, out);
        sep = ",";
      }
      if (!v.incomplete()) out += '}';
      break;
    }
  }
}

std::string dump(const json::Document& doc) {
  std::string out;
  if (doc.root()) dump(*doc.root(), out);
  return out;
}

struct Case {
  std::string_view input;
  std::string_view expected;
};

std::string repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

}  // namespace

TEST(JsonReader, ReadsValues) {
  const Case cases[] = {
      {"null", "null"},
      {" \t\r\ntrue \t\r\n", "true"},
      {"false", "false"},
      {"[]", "[]"},
      {"{}", "{}"},
      {" [ 1 , [ 2 , [ ] ] , { \"a\" : null } ] ", "[u1,[u2,[]],{\"a\":null}]"},
      // Duplicate keys stay, in text order.
      {R"({"a":1,"b":2,"a":3})", R"({"a":u1,"b":u2,"a":u3})"},
      {R"({"":""})", R"({"":""})"},
      // Integers keep their type at the edges of the 64-bit ranges.
      {"0", "u0"},
      {"-0", "f-0"},
      {"18446744073709551615", "u18446744073709551615"},
      {"18446744073709551616", "f18446744073709551616"},
      {"99999999999999999999", "f1e+20"},
      {"9223372036854775808", "u9223372036854775808"},
      {"-1", "i-1"},
      {"-9223372036854775808", "i-9223372036854775808"},
      {"-9223372036854775809", "f-9223372036854775808"},
      {"-18446744073709551616", "f-18446744073709551616"},
      // Fractions and exponents are floats, correctly rounded.
      {"-0.0", "f-0"},
      {"0.0", "f0"},
      {"1E2", "f100"},
      {"1e+2", "f100"},
      {"25e-1", "f2.5"},
      {"0.1", "f0.1"},
      {"100.25", "f100.25"},
      {"0.30000000000000004", "f0.30000000000000004"},
      {"1e23", "f1e+23"},
      {"9007199254740993.0", "f9007199254740992"},
      {"9007199254740995.0", "f9007199254740996"},
      {"1.00000000000000011102230246251565404236316680908203125", "f1"},
      {"1.00000000000000011102230246251565404236316680908203126", "f1.0000000000000002"},
      {"123456789012345678901234567890", "f1.2345678901234568e+29"},
      {"0.000000000000000000000000000001", "f1e-30"},
      {"1.7976931348623157e308", "f1.7976931348623157e+308"},
      {"2.5e-324", "f5e-324"},
      {"1e-400", "f0"},
      {"-1e-400", "f-0"},
      {"0e999999999999999999999", "f0"},
      // Escapes, surrogate pairs, raw UTF-8 passed through.
      {R"("a\"b\\c\/d\b\f\n\r\t")", R"("a\"b\\c/d\b\f\n\r\t")"},
      {R"("\u0041\u00e9\u20AC\ud83d\uDE00")", "\"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""},
      {R"("\u0000\u001f\u007F")", "\"\\u0000\\u001f\x7F\""},
      {R"("\uDBFF\uDFFF")", "\"\xF4\x8F\xBF\xBF\""},
      {"\"\xC3\xA9\xF0\x9F\x98\x80\x7F\"", "\"\xC3\xA9\xF0\x9F\x98\x80\x7F\""},
      {R"(["plain","esc\n","plain2","\\"])", R"(["plain","esc\n","plain2","\\"])"},
  };
  for (const auto& [input, expected] : cases) {
    const auto result = json::parse(input);
    EXPECT_FALSE(result.error) << input << ": " << result.error->text();
    EXPECT_EQ(dump(result.document), expected) << input;
  }
}

TEST(JsonReader, ReportsErrorsWithPosition) {
  const Case cases[] = {
      {"[", "EOF while parsing a list at line 1 column 1"},
      {"[1", "EOF while parsing a list at line 1 column 2"},
      {"[1 ", "EOF while parsing a list at line 1 column 3"},
      {"{", "EOF while parsing an object at line 1 column 1"},
      {R"({"a")", "EOF while parsing an object at line 1 column 4"},
      {R"({"a":1)", "EOF while parsing an object at line 1 column 6"},
      {"\"abc", "EOF while parsing a string at line 1 column 4"},
      {R"({"ab)", "EOF while parsing a string at line 1 column 4"},
      {R"("\)", "EOF while parsing a string at line 1 column 2"},
      {R"("\u12)", "EOF while parsing a string at line 1 column 5"},
      {R"("\ud800)", "EOF while parsing a string at line 1 column 7"},
      {R"("\ud800\)", "EOF while parsing a string at line 1 column 8"},
      {"", "EOF while parsing a value at line 1 column 0"},
      {" \t ", "EOF while parsing a value at line 1 column 3"},
      {"\n", "EOF while parsing a value at line 2 column 0"},
      {"tru", "EOF while parsing a value at line 1 column 3"},
      {"-", "EOF while parsing a value at line 1 column 1"},
      {"1.", "EOF while parsing a value at line 1 column 2"},
      {"1e", "EOF while parsing a value at line 1 column 2"},
      {"1e-", "EOF while parsing a value at line 1 column 3"},
      {"[1,", "EOF while parsing a value at line 1 column 3"},
      {R"({"a":)", "EOF while parsing a value at line 1 column 5"},
      {R"({"a":1, )", "EOF while parsing a value at line 1 column 8"},
      {R"({"a" 1})", "expected `:` at line 1 column 6"},
      {R"({"a",1})", "expected `:` at line 1 column 5"},
      {"[1 2]", "expected `,` or `]` at line 1 column 4"},
      {"[1}", "expected `,` or `]` at line 1 column 3"},
      {R"({"a":1 "b":2})", "expected `,` or `}` at line 1 column 8"},
      {R"({"a":1])", "expected `,` or `}` at line 1 column 7"},
      {"trux", "expected ident at line 1 column 4"},
      {"nulL", "expected ident at line 1 column 4"},
      {"[fals]", "expected ident at line 1 column 6"},
      {"x", "expected value at line 1 column 1"},
      {"]", "expected value at line 1 column 1"},
      {"[,1]", "expected value at line 1 column 2"},
      {R"({"a":})", "expected value at line 1 column 6"},
      {"+1", "expected value at line 1 column 1"},
      {".5", "expected value at line 1 column 1"},
      {"'a'", "expected value at line 1 column 1"},
      {"[1,\n  x]", "expected value at line 2 column 3"},
      {"\xEF\xBB\xBF{}", "expected value at line 1 column 1"},
      {R"("\x")", "invalid escape at line 1 column 3"},
      {R"("ab\')", "invalid escape at line 1 column 5"},
      {R"("\U0041")", "invalid escape at line 1 column 3"},
      {"01", "invalid number at line 1 column 2"},
      {"-01", "invalid number at line 1 column 3"},
      {"-x", "invalid number at line 1 column 2"},
      {"[-]", "invalid number at line 1 column 3"},
      {"1.x", "invalid number at line 1 column 3"},
      {"1.e5", "invalid number at line 1 column 3"},
      {"1ex", "invalid number at line 1 column 3"},
      {"1e+x", "invalid number at line 1 column 4"},
      {"1e400", "number out of range at line 1 column 5"},
      {"-1e400", "number out of range at line 1 column 6"},
      {"[1.8e308]", "number out of range at line 1 column 8"},
      {"1.7976931348623159e308", "number out of range at line 1 column 22"},
      {"1e99999999999999999999", "number out of range at line 1 column 22"},
      {R"("\udc00")", "invalid unicode code point at line 1 column 7"},
      {R"("a\uDFFF\ud800")", "invalid unicode code point at line 1 column 8"},
      {"\"a\tb\"", "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 3"},
      {"\"\x01\"", "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 2"},
      {"\"\\n\x1f\"", "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 4"},
      {"\"a\nb\"", "control character (\\u0000-\\u001F) found while parsing a string at line 2 column 0"},
      {"{1:2}", "key must be a string at line 1 column 2"},
      {"{ null:1}", "key must be a string at line 1 column 3"},
      {R"({"a":1,2:3})", "key must be a string at line 1 column 8"},
      {R"("\ud800")", "lone leading surrogate in hex escape at line 1 column 7"},
      {R"("\ud800x")", "lone leading surrogate in hex escape at line 1 column 7"},
      {R"("\ud800\n")", "lone leading surrogate in hex escape at line 1 column 7"},
      {R"("\ud800\u0041")", "lone leading surrogate in hex escape at line 1 column 13"},
      {R"("\ud800\ud800")", "lone leading surrogate in hex escape at line 1 column 13"},
      {"[1,]", "trailing comma at line 1 column 4"},
      {"[1,\n ]", "trailing comma at line 2 column 2"},
      {R"({"a":1,})", "trailing comma at line 1 column 8"},
      {R"({"cmd":"version"} x)", "trailing characters at line 1 column 19"},
      {"1 2", "trailing characters at line 1 column 3"},
      {"1x", "trailing characters at line 1 column 2"},
      {"nullx", "trailing characters at line 1 column 5"},
      {"[]]", "trailing characters at line 1 column 3"},
      {"{}\n\n  }", "trailing characters at line 3 column 3"},
      {"0\f", "trailing characters at line 1 column 2"},
      {"1\r\r x", "trailing characters at line 1 column 5"},  // CR does not end a line
      {"\"\xC3\xA9\" x", "trailing characters at line 1 column 6"},  // columns count bytes
      {R"("\u12")", "unexpected end of hex escape at line 1 column 6"},
      {R"("\u12G4")", "unexpected end of hex escape at line 1 column 6"},
      {R"("\ud800\udc0")", "unexpected end of hex escape at line 1 column 13"},
  };
  for (const auto& [input, expected] : cases) {
    const auto result = json::parse(input);
    ASSERT_TRUE(result.error) << input;
    EXPECT_EQ(result.error->text(), expected) << input;
    EXPECT_EQ(result.error->position, json::position_at(input, result.error->offset)) << input;
  }
}

TEST(JsonReader, MessagesNotRaisedByTheReader) {
  // Every place that needs a string is a key, reported as "key must be a string".
  EXPECT_EQ(json::message(json::ErrorCode::expected_quote), "expected `\"`");
}

TEST(JsonReader, NestingBudget) {
  const struct {
    std::string input;
    std::string expected;  // error text, empty when accepted
  } cases[] = {
      {repeat("[", 127) + repeat("]", 127), ""},
      {repeat("{\"a\":", 127) + "1" + repeat("}", 127), ""},
      {repeat("[", 128) + repeat("]", 128), "recursion limit exceeded at line 1 column 128"},
      {repeat("[{\"k\":", 64), "recursion limit exceeded at line 1 column 380"},
      // The budget counts open containers, not all containers.
      {"[" + repeat("[[]],", 300) + "1]", ""},
  };
  for (const auto& [input, expected] : cases) {
    const auto result = json::parse(input);
    EXPECT_EQ(result.error ? result.error->text() : "", expected) << input.substr(0, 20);
  }
}

TEST(JsonReader, KeepsPartialDocumentOnError) {
  const struct {
    std::string_view input;
    std::string_view error;
    std::string_view partial;
  } cases[] = {
      {"x", "expected value at line 1 column 1", ""},
      {"\"abc", "EOF while parsing a string at line 1 column 4", ""},
      {"[1,2,x]", "expected value at line 1 column 6", "[u1,u2"},
      {"[[1],[2,", "EOF while parsing a value at line 1 column 8", "[[u1],[u2"},
      {R"({"a":1,"b":[true,)", "EOF while parsing a value at line 1 column 17", R"({"a":u1,"b":[true)"},
      {R"({"a":1,"a":x})", "expected value at line 1 column 12", R"({"a":u1,"a":)"},
      {R"({"a":"\q"})", "invalid escape at line 1 column 8", R"({"a":)"},
      {R"({"cmd":"version"} x)", "trailing characters at line 1 column 19", R"({"cmd":"version"})"},
  };
  for (const auto& [input, error, partial] : cases) {
    const auto result = json::parse(input);
    ASSERT_TRUE(result.error) << input;
    EXPECT_EQ(result.error->text(), error) << input;
    EXPECT_EQ(dump(result.document), partial) << input;
  }
}

TEST(JsonReader, IncompleteContainerEndsAtTheError) {
  const std::string_view text = "{\"a\":[1,\n x]}";
  const auto result = json::parse(text);
  ASSERT_TRUE(result.error);
  const json::Value& root = *result.document.root();
  EXPECT_TRUE(root.incomplete());
  EXPECT_EQ(root.end(), result.error->offset);
  const json::Value& list = *root.member(0).value;
  EXPECT_TRUE(list.incomplete());
  EXPECT_EQ(list.begin(), 5u);
  EXPECT_EQ(list.end(), 11u);
  EXPECT_FALSE(list.elements()[0].incomplete());
}

TEST(JsonReader, RecordsValueRanges) {
  const std::string_view text = "{\"a\": [10, \"x\\n\"],\n \"b\": -2.5, \"a\": {}}";
  const auto result = json::parse(text);
  ASSERT_FALSE(result.error);
  const json::Document& doc = result.document;
  const json::Value& root = *doc.root();
  ASSERT_EQ(root.size(), 3u);
  const json::Value& list = *root.member(0).value;
  const struct {
    const json::Value* value;
    std::string_view source;
    json::Position first;  // of the first byte
    json::Position last;   // of the last byte
  } cases[] = {
      {&root, text, {1, 1}, {2, 20}},
      {&root.member(0).key, "\"a\"", {1, 2}, {1, 4}},
      {&list, "[10, \"x\\n\"]", {1, 7}, {1, 17}},
      {&list.elements()[0], "10", {1, 8}, {1, 9}},
      {&list.elements()[1], "\"x\\n\"", {1, 12}, {1, 16}},
      {root.member(1).value, "-2.5", {2, 7}, {2, 10}},
      {root.member(2).value, "{}", {2, 18}, {2, 19}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text.substr(c.value->begin(), c.value->end() - c.value->begin()), c.source);
    EXPECT_EQ(doc.position_at(c.value->begin() + 1), c.first) << c.source;
    EXPECT_EQ(doc.position_at(c.value->end()), c.last) << c.source;
  }
  EXPECT_EQ(list.elements()[1].as_string(), "x\n");
  EXPECT_EQ(root.find("a"), root.member(2).value);  // the last occurrence
  EXPECT_EQ(root.find("b")->as_f64(), -2.5);
  EXPECT_EQ(root.find("c"), nullptr);
}

TEST(JsonReader, DocumentSurvivesMove) {
  std::string text = "[";
  for (int i = 0; i < 2000; ++i) text += "{\"k\\u0041\":[" + std::to_string(i) + "]},";
  text += "\"end\"]";
  auto result = json::parse(text);
  ASSERT_FALSE(result.error);
  json::Document moved = std::move(result.document);
  const json::Value& root = *moved.root();
  ASSERT_EQ(root.size(), 2001u);
  for (std::size_t i = 0; i < 2000; ++i) {
    const json::Member m = root.elements()[i].member(0);
    ASSERT_EQ(m.key.as_string(), "kA");
    ASSERT_EQ(m.value->elements()[0].as_u64(), i);
  }
  EXPECT_EQ(root.elements()[2000].as_string(), "end");
}

TEST(JsonReader, ConvertsNumbersToDouble) {
  const auto result = json::parse("[18446744073709551615,-3,0.5]");
  ASSERT_FALSE(result.error);
  const auto e = result.document.root()->elements();
  EXPECT_EQ(e[0].to_f64(), 18446744073709551616.0);
  EXPECT_EQ(e[1].to_f64(), -3.0);
  EXPECT_EQ(e[2].to_f64(), 0.5);
}

TEST(JsonPosition, FromOffset) {
  const struct {
    std::string_view text;
    std::size_t offset;
    json::Position expected;
  } cases[] = {
      {"", 0, {1, 0}},
      {"abc", 0, {1, 0}},
      {"abc", 2, {1, 2}},
      {"ab\ncd", 3, {2, 0}},
      {"ab\ncd", 5, {2, 2}},
      {"\n\n\nx", 4, {4, 1}},
      {"a\r\nb", 4, {2, 1}},
      {"abc", 99, {1, 3}},  // clamped to the text
  };
  for (const auto& c : cases) EXPECT_EQ(json::position_at(c.text, c.offset), c.expected) << c.text;
  EXPECT_EQ(json::at_position("missing field `close`", {3, 14}),
            "missing field `close` at line 3 column 14");
}

TEST(JsonWriter, AppendsEscapedString) {
  const Case cases[] = {
      {"", R"("")"},
      {"plain text", R"("plain text")"},
      {"q\"b\\s/", R"("q\"b\\s/")"},
      {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
      {std::string_view("\x00\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\x7f\""},
      {"\xC3\xA9\xF0\x9F\x98\x80", "\"\xC3\xA9\xF0\x9F\x98\x80\""},
  };
  for (const auto& [input, expected] : cases) {
    std::string out = "x";
    json::append_string(out, input);
    EXPECT_EQ(out, "x" + std::string(expected));
  }
}

#include "store/build/frame_writer.hpp"

#include <charconv>

#include "store/build/number_text.hpp"
#include "store/json/json_writer.hpp"

namespace ostrel::store {

namespace {

void append_int(std::string& out, std::int64_t v) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, end);
}

// RFC 4180: a field holding a comma, quote, CR or LF is quoted with inner quotes doubled.
void append_csv_field(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::size_t width_of(const FeatureFrame& f) { return f.columns.size(); }

}  // namespace

std::string write_json(const FeatureFrame& frame) {
    const std::size_t width = width_of(frame);
    std::string out;
    out.reserve(64 + frame.rows * (32 + width * 12));
    out += "{\"columns\":[";
    for (std::size_t c = 0; c < width; ++c) {
        if (c) out += ',';
        json::append_string(out, frame.columns[c]);
    }
    out += "],\"index\":[";
    for (std::size_t r = 0; r < frame.index.size(); ++r) {
        if (r) out += ',';
        out += "{\"symbol\":";
        json::append_string(out, frame.index[r].symbol);
        out += ",\"ts\":";
        append_int(out, frame.index[r].ts);
        out += '}';
    }
    out += "],\"data\":[";
    for (std::size_t r = 0; r < frame.rows; ++r) {
        if (r) out += ',';
        out += '[';
        for (std::size_t c = 0; c < width; ++c) {
            if (c) out += ',';
            if (!append_number_text(out, frame.data[r * width + c])) out += "null";
        }
        out += ']';
    }
    out += "],\"rows\":";
    append_int(out, static_cast<std::int64_t>(frame.rows));
    out += '}';
    return out;
}

std::string write_csv(const FeatureFrame& frame) {
    const std::size_t width = width_of(frame);
    std::string out;
    out.reserve(64 + frame.rows * (24 + width * 12));
    out += "symbol,ts";
    for (const std::string& name : frame.columns) {
        out += ',';
        append_csv_field(out, name);
    }
    out += '\n';
    const std::size_t rows = std::min(frame.index.size(), frame.rows);
    for (std::size_t r = 0; r < rows; ++r) {
        append_csv_field(out, frame.index[r].symbol);
        out += ',';
        append_int(out, frame.index[r].ts);
        for (std::size_t c = 0; c < width; ++c) {
            out += ',';
            append_number_text(out, frame.data[r * width + c]);
        }
        out += '\n';
    }
    return out;
}

}  // namespace ostrel::store

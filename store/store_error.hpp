#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace ostrel::store {

// The store's single failure type; text() is its only rendering.
struct StoreError {
    enum class Kind : std::uint8_t { Parse, UnknownIndicator, MissingFeed, BadSpec, Data, Output };
    Kind kind;
    std::string detail;  // MissingFeed: the feature's name
    std::string feed;    // MissingFeed only

    static StoreError parse(std::string d) { return {Kind::Parse, std::move(d), {}}; }
    static StoreError unknown_indicator(std::string d) { return {Kind::UnknownIndicator, std::move(d), {}}; }
    static StoreError missing_feed(std::string feature, std::string feed) {
        return {Kind::MissingFeed, std::move(feature), std::move(feed)};
    }
    static StoreError bad_spec(std::string d) { return {Kind::BadSpec, std::move(d), {}}; }
    static StoreError data(std::string d) { return {Kind::Data, std::move(d), {}}; }
    static StoreError output(std::string d) { return {Kind::Output, std::move(d), {}}; }

    std::string text() const {
        switch (kind) {
            case Kind::Parse: return "parse: " + detail;
            case Kind::UnknownIndicator: return "unknown indicator: " + detail;
            case Kind::MissingFeed: return detail + " needs the " + feed + " feed, which this build does not supply";
            case Kind::BadSpec: return "bad spec: " + detail;
            case Kind::Data: return "data: " + detail;
            case Kind::Output: return "output: " + detail;
        }
        return detail;
    }
};

}  // namespace ostrel::store

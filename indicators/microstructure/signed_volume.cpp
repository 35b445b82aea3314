#include "indicators/microstructure/book_top.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double trade_signed_size(const TradePrint& r) { return signed_size(r); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SignedVolume, (RecordMember<InputKind::Trades, TradePrint, &trade_signed_size>::create()))

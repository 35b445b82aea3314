#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/mama_lines.hpp"

OSTREL_FACTORY(Mama, ostrel::MamaLines::create(p.real(0), p.real(1)))

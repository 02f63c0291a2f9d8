#pragma once

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

namespace qrt::domain
{

/// The made-up history that earlier versions of the program showed on a first look at a lottery: @p
/// count draws with issues 2026001 and on, the same every time for the same shape. Numbers within a
/// draw never repeat when the range allows it.
ref::DrawList sampleHistory(const ref::LotteryShape &shape, int count = 60);

} // namespace qrt::domain

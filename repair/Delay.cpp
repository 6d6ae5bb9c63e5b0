#include "repair/Delay.h"

namespace repair {

void Delay(platform::System& system, std::int16_t ms) {
  // Elapsed time is the unsigned difference of two readings, so a wait lasts its full length
  // across the clock's sign change at 2^31 ms and its wrap at 2^32 ms alike.
  const auto start = static_cast<std::uint32_t>(system.TimeGetTime());
  auto elapsed = [&] { return static_cast<std::uint32_t>(system.TimeGetTime()) - start; };
  if (ms <= 0) return;
  const auto length = static_cast<std::uint32_t>(ms);

  // Pump, read the clock, and only then sleep until an event arrives or the time is up, rather
  // than spinning: the pause must not hold a processor core busy on the machine whose shell is
  // being restarted. Pumping first serves what arrived while the caller was busy at once.
  for (;;) {
    system.PumpEvents();
    const std::uint32_t passed = elapsed();
    if (passed >= length) return;
    system.WaitForEvents(length - passed);
  }
}

}  // namespace repair

#include "repair/Delay.h"

namespace repair {

void Delay(platform::System& system, std::int16_t ms) {
  // Elapsed time is the unsigned difference of two readings, so a wait lasts its full length
  // across the clock's sign change at 2^31 ms and its wrap at 2^32 ms alike.
  const auto start = static_cast<std::uint32_t>(system.TimeGetTime());
  auto elapsed = [&] { return static_cast<std::uint32_t>(system.TimeGetTime()) - start; };
  if (ms <= 0) return;
  const auto length = static_cast<std::uint32_t>(ms);

  std::uint32_t passed = elapsed();
  while (passed < length) {
    // Sleep until an event arrives or the time is up, rather than spinning: the pause must not
    // hold a processor core busy on the machine whose shell is being restarted.
    system.WaitForEvents(length - passed);
    system.PumpEvents();
    passed = elapsed();
  }
}

}  // namespace repair

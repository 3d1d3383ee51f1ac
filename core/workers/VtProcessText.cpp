#include "workers/VtProcessText.h"

namespace folio {

TVtProcessText::TVtProcessText(TakeNextProject takeNext, ProcessProject process)
    : takeNext_(std::move(takeNext)), process_(std::move(process))
{
}

TVtProcessText::~TVtProcessText() { Stop(); }

void TVtProcessText::Step()
{
    const std::optional<long long> id = takeNext_ ? takeNext_() : std::nullopt;
    if (!id) {
        SuspendSelf();
        return;
    }
    if (process_) process_(*id, [this] { return StopRequested(); });
}

} // namespace folio

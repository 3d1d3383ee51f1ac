#include "ClassRegistry.h"
#include "OfficeApplication.h"
#include "RecordingServer.h"

namespace wordstrip {

ClassRegistry MakeStandardClassRegistry()
{
    ClassRegistry registry;
    registry.Register("Word.Application", CreateOfficeApplication);
    registry.Register(std::string(kRecordingProgId), CreateRecordingApplication);
    return registry;
}

} // namespace wordstrip

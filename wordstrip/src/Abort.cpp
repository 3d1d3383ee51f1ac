#include "Abort.h"

#include <initializer_list>

namespace wordstrip {

volatile std::sig_atomic_t AbortRequested = 0;

namespace {
extern "C" void OnAbortSignal(int) { AbortRequested = 1; }
} // namespace

void InstallAbortHandler()
{
    struct sigaction action {};
    action.sa_handler = OnAbortSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

} // namespace wordstrip

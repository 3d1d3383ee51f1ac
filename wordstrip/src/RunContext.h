#pragma once
// Everything one run of the converter shares: its options, its streams and reporter, and the
// automation servers it can start.

#include "Console.h"
#include "ConvertOptions.h"
#include "Reporter.h"
#include "automation/ClassRegistry.h"

#include <string>

namespace wordstrip {

struct RunContext {
    explicit RunContext(ClassRegistry registry, Console streams = Console())
        : console(streams), classes(std::move(registry))
    {
    }
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    ConvertOptions options;
    Console console;
    Reporter reporter{options, console};
    ClassRegistry classes;
    std::string programName;   // the program's file name, without its folder
    bool automationStarted = false; // the automation runtime is initialised
    bool wordShutDown = false;       // QuitWord has run
};

} // namespace wordstrip

#pragma once
// The host driver: a small host library that reaches the module only through its four exports
// and the routines of its dispatcher, with the engine stand-ins of host/engine in the process.
//
//   std::unique_ptr<HostModule> module;
//   HostModule::Load("TAVO.so", module);                  // open, find the group
//   std::unique_ptr<HostProcess> process;
//   module->CreateProcess({.channels = 2}, process);      // create, initialise, connect
//   process->SetControl(3, value);                        // automation
//   process->Render(inputs, outputs, frames);             // on the process's render thread
//   process->OpenEditor(); process->TickEditor(); ...      // the offscreen editor window
//
// Every call answers a status: 0, the module's own code, or one of the driver's (HostStatus.h),
// each with a readable text from StatusText.

#include "host/driver/HostModule.h"
#include "host/driver/HostProcess.h"
#include "host/driver/HostStatus.h"
#include "host/driver/RenderThread.h"

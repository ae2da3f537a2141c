#pragma once
// Everything the decision logic needs of the operating system, in one place.
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/loader_host.h"
#include "platform/message_loop.h"
#include "platform/processes.h"
#include "platform/session.h"

namespace platform {

struct Platform {
  Processes& processes;
  Desktop& desktop;
  Files& files;
  Dialogs& dialogs;
  MessageLoop& loop;
  Session& session;
  LoaderHost& loader;
};

}  // namespace platform

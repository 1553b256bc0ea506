// Quick add: text typed or pasted into the "Add Task" box becomes tasks at
// the end of the top-level "Inbox" task of Lists.
#pragma once

#include "base/forest.h"

extern const char kInboxName[];  // "Inbox"

// The top-level "Inbox" task of Lists (any case), made bold at the end of
// Lists when there is none. None when it could not be made.
Node InboxNode();
// Each non-blank line of `text`, without the blanks around it, becomes a
// task at the end of the Inbox. Answers the number of tasks made.
int AddToInbox(const char* text);

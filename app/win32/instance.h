// The organiser runs once per user session: the first instance holds the
// mutex "Velkin 1.0" until its main window is destroyed.
#pragma once

// Claims the instance mutex. false when another instance holds it; that
// instance's window has then been shown and brought to the front.
bool ClaimInstance();
// Lets a new instance start, while this one is still ending.
void ReleaseInstanceMutex();

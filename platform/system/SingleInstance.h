#pragma once
// One running copy of the program per user and key: a lock held for the life of the process
// decides which start runs, and a later start asks the running one to come to the front.
#include <QString>
#include <functional>

namespace vb::SingleInstance {
// True when another instance holds the key: it has been asked to show itself, and this start
// must end. Otherwise this process becomes the instance for as long as it lives (a lock left by a
// crashed run is taken over), and `activate` runs whenever a later start asks.
// Lock and socket lie in the user's runtime folder.
bool AnotherIsRunning(const QString& key, std::function<void()> activate);
void Release(); // stop being the instance (tests)
} // namespace vb::SingleInstance

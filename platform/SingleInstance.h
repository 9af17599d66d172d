#pragma once
// One running copy of the program: a second start asks the first to come to the front.
#include <QString>
#include <functional>

namespace vb::SingleInstance {
// True when another instance answers under this key (it has been asked to show itself).
// Otherwise this process becomes the instance and `activate` runs when a later start asks.
bool AnotherIsRunning(const QString& key, std::function<void()> activate);
void Release(); // stop being the instance (tests)
} // namespace vb::SingleInstance

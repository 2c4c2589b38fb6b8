#pragma once

// Puts fakes into the process's platform services, so start-up can be driven without a real card
// reader, registry or window system: a fixed drive, no viewer window, an empty registry, a
// launcher that starts nothing. A ProcessStateGuard puts the real ones back.
void InstallFakePlatform();

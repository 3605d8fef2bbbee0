#pragma once
// Restarts Windows: NT 4 (version code 5) through InitiateSystemShutdownA,
// every other system through ExitWindowsEx. The result is not checked; the
// restart ends the session.
void RestartMachine(unsigned short versionCode);

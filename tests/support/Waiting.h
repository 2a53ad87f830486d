#pragma once
// A time limit for QTRY_*_WITH_TIMEOUT, qWaitFor*() and QSignalSpy::wait()
// that no machine, however slow or loaded, runs into: CTest's own limit ends
// a test that truly hangs.
constexpr int NoTimeLimit = 1 << 29;

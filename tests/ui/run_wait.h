// Waiting in a window test for what a run on its worker thread does, without
// a deadline of the test's own: how long a run takes on a busy machine is no
// test's business, and a run that never ends is ended by the test runner's
// time limit.
#pragma once

#include <QSignalSpy>
#include <QTest>

namespace pelodyn::test {

// Lets events run until `done()` holds.
template <typename Done>
void WaitUntil(Done&& done) {
  while (!done()) QTest::qWait(10);
}

// Lets events run until `spy` has caught its signal.
inline void WaitForSignal(QSignalSpy& spy) {
  while (spy.isEmpty()) spy.wait(1000);
}

}  // namespace pelodyn::test

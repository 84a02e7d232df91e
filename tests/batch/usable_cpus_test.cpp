// The default thread count follows the CPUs the process may use: its
// affinity mask (taskset, a scheduler's binding) and a Slurm task's CPUs.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "engine/search.h"

namespace pelodyn {
namespace {

// Runs `body` in a child process, whose affinity and environment are its
// own, and returns what it returned (its exit status).
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

cpu_set_t Mask() {
  cpu_set_t mask;
  CPU_ZERO(&mask);
  sched_getaffinity(0, sizeof mask, &mask);
  return mask;
}

TEST(UsableCpus, FollowTheAffinityMaskAndSlurmsCpusPerTask) {
  const cpu_set_t all = Mask();
  const int n = CPU_COUNT(&all);
  ASSERT_GE(n, 1);
  // One CPU of the mask, as under taskset -c 0: one thread.
  const int one = InChild([&] {
    unsetenv("SLURM_CPUS_PER_TASK");
    cpu_set_t first;
    CPU_ZERO(&first);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
      if (CPU_ISSET(cpu, &all)) {
        CPU_SET(cpu, &first);
        break;
      }
    }
    if (sched_setaffinity(0, sizeof first, &first) != 0) return 100;
    return UsableCpuCount() * 10 + SearchThreads(0);
  });
  EXPECT_EQ(one, 11);
  const struct {
    const char* slurm;  // nullptr: not set
    int expected;
  } cases[] = {
      {nullptr, n},  // the whole mask
      {"1", 1},      // a task given one CPU
      {"0", n},      // not a count: the mask
      {"two", n},    // not a number: the mask
      {"1x", n},     // not a number: the mask
      {"9999", n},   // more than the mask: the mask
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slurm ? c.slurm : "unset");
    EXPECT_EQ(InChild([&] {
                if (c.slurm) {
                  setenv("SLURM_CPUS_PER_TASK", c.slurm, 1);
                } else {
                  unsetenv("SLURM_CPUS_PER_TASK");
                }
                return UsableCpuCount();
              }),
              std::min(c.expected, 255));
  }
  // A count asked for is taken as it is.
  EXPECT_EQ(SearchThreads(3), 3);
}

}  // namespace
}  // namespace pelodyn

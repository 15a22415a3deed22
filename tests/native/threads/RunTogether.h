// Starts a number of threads that begin their work at the same moment, so that it overlaps from the first round.
#pragma once

#include <latch>
#include <thread>
#include <vector>

namespace NativeTesting {

template <class Work>
void RunTogether(int count, Work work) {
  std::latch start(count);
  std::vector<std::thread> threads;
  for (int t = 0; t < count; ++t)
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      work(t);
    });
  for (std::thread& thread : threads) thread.join();
}

}  // namespace NativeTesting

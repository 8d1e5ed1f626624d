#include "base/GrowableBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavo {
namespace {

TEST(GrowableBufferCapacity, SmallGranularityReservesHalfOrOneGranule) {
  GrowableBuffer text(128);
  EXPECT_EQ(text.CapacityFor(10), 10u + 128u);
  EXPECT_EQ(text.CapacityFor(1000), 1000u + 500u);
}

TEST(GrowableBufferCapacity, PageGranularityFillsWholePagesLessTheAllocatorSlack) {
  GrowableBuffer bytes; // 4096
  for (size_t n :
       {size_t{1}, size_t{64}, size_t{4000}, size_t{10000}, size_t{100000}, size_t{20u << 20}}) {
    const size_t capacity = bytes.CapacityFor(n);
    EXPECT_GE(capacity, n + 4096) << n;
    EXPECT_EQ((capacity + 96) % 4096, 0u) << n;
  }
  // The reserve is capped at 4 MiB however large the buffer gets.
  EXPECT_LE(bytes.CapacityFor(100u << 20), (100u << 20) + (4u << 20) + 4096);
}

TEST(GrowableBufferResize, KeepsTheBlockWhileTheSizeFits) {
  GrowableBuffer b;
  void* first = b.Resize(100);
  ASSERT_NE(first, nullptr);
  const size_t capacity = b.Capacity();
  EXPECT_EQ(b.Resize(capacity), first);
  EXPECT_EQ(b.Resize(1), first);
  EXPECT_EQ(b.Capacity(), capacity); // shrinking is only on request
}

TEST(GrowableBufferResize, ShrinksOnlyWellBelowTheCapacity) {
  GrowableBuffer b(128);
  b.Resize(10000);
  const size_t big = b.Capacity();
  b.Resize(9000, true); // above half the capacity: kept
  EXPECT_EQ(b.Capacity(), big);
  b.Resize(100, true);
  EXPECT_LT(b.Capacity(), big);
  EXPECT_EQ(b.Size(), 100u);
}

TEST(GrowableBufferResize, GrowingKeepsTheContents) {
  GrowableArray<int> a;
  for (int i = 0; i < 5000; ++i)
    ASSERT_TRUE(a.Add(i));
  ASSERT_EQ(a.Count(), 5000);
  for (int i = 0; i < 5000; ++i)
    ASSERT_EQ(a[i], i);
}

TEST(GrowableArray, InsertAndDeleteKeepOrderAndRejectBadIndices) {
  GrowableArray<int> a;
  a.Add(1);
  a.Add(3);
  a.Insert(1, 2);
  a.Delete(7);
  a.Delete(-1);
  ASSERT_EQ(a.Count(), 3);
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 2);
  EXPECT_EQ(a[2], 3);
  EXPECT_EQ(a.Get(3), nullptr);
}

struct Recorder {
  std::vector<int>* log;
  int id;
  ~Recorder() { log->push_back(id); }
};

TEST(OwnedList, DeletesItsElementsLastFirst) {
  std::vector<int> log;
  {
    OwnedList<Recorder> list;
    for (int i = 0; i < 4; ++i)
      list.Add(std::make_unique<Recorder>(&log, i));
  }
  EXPECT_EQ(log, (std::vector<int>{3, 2, 1, 0}));
}

TEST(GrowableText, HoldsAnyLengthAndReadsEmptyWhenUnset) {
  GrowableText t;
  EXPECT_STREQ(t.Get(), "");
  std::string long_text(1000, 'x');
  t.Set(long_text.c_str());
  EXPECT_EQ(t.Get(), long_text);
  t.Append("yz");
  EXPECT_EQ(t.Length(), 1002u);
  t.Set(nullptr);
  EXPECT_STREQ(t.Get(), "");
}

} // namespace
} // namespace tavo

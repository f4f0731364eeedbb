#include "console/key_buffer.h"

#include <gtest/gtest.h>

namespace tamiral {
namespace {

TEST(KeyBuffer, FirstInFirstOutWithTheModifiersSeenOnArrival) {
  KeyBuffer keys;
  EXPECT_FALSE(keys.pop());
  keys.push('a');
  keys.pushExtended(82, {.shift = true});
  keys.push(1, {.ctrl = true});
  EXPECT_EQ(keys.count(), 4);
  EXPECT_EQ(keys.pop(), (QueuedKey{'a', {}}));
  EXPECT_EQ(keys.pop(), (QueuedKey{0, {.shift = true}}));
  EXPECT_EQ(keys.peek(), (QueuedKey{82, {.shift = true}}));
  EXPECT_EQ(keys.pop(), (QueuedKey{82, {.shift = true}}));
  EXPECT_EQ(keys.pop(), (QueuedKey{1, {.ctrl = true}}));
  EXPECT_TRUE(keys.empty());
}

TEST(KeyBuffer, KeysThatDoNotFitAreDropped) {
  KeyBuffer keys;
  for (int i = 0; i < 63; ++i) ASSERT_TRUE(keys.push(static_cast<uint8_t>(i)));
  // An extended key needs two places; with one left it is dropped whole.
  EXPECT_FALSE(keys.pushExtended(59));
  EXPECT_EQ(keys.count(), 63);
  EXPECT_TRUE(keys.push(200));
  EXPECT_FALSE(keys.push(201));
  EXPECT_EQ(keys.count(), 64);

  // Reading makes room again, and order survives the wrap of the ring.
  for (int i = 0; i < 10; ++i) keys.pop();
  EXPECT_TRUE(keys.pushExtended(59, {.alt = true}));
  for (int i = 10; i < 63; ++i) ASSERT_EQ(keys.pop()->code, i);
  EXPECT_EQ(keys.pop()->code, 200);
  EXPECT_EQ(keys.pop(), (QueuedKey{0, {.alt = true}}));
  EXPECT_EQ(keys.pop(), (QueuedKey{59, {.alt = true}}));
  EXPECT_TRUE(keys.empty());

  keys.push(1);
  keys.clear();
  EXPECT_FALSE(keys.peek());
}

}  // namespace
}  // namespace tamiral

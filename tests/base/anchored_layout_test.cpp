// The anchored layout's geometry: what each anchor flag does to a control on
// a resize, that resizing back restores every control exactly, and the
// smallest window rectangle a sizing drag may produce.
#include "base/anchored_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace twinseek::testing {
namespace {

constexpr unsigned kFill = kAnchorStretchWidth | kAnchorStretchHeight;
constexpr unsigned kBottomLeft = kAnchorFollowBottom;
constexpr unsigned kBottomRight = kAnchorFollowRight | kAnchorFollowBottom;
constexpr unsigned kBottomStretch = kAnchorStretchWidth | kAnchorFollowBottom;

// A window whose frame adds 8 pixels each side and a 30-pixel caption.
constexpr Rect kWindow{100, 50, 516, 388};
constexpr Rect kClient{0, 0, 400, 300};

Rect ClientOfSize(int width, int height) { return Rect{0, 0, width, height}; }

Rect RectOf(const ControlPlacement& placement) {
  return Rect{placement.x, placement.y, placement.x + placement.width, placement.y + placement.height};
}

const ControlPlacement* Find(const std::vector<ControlPlacement>& placements, ControlKey control) {
  const auto found = std::find_if(placements.begin(), placements.end(),
                                  [control](const ControlPlacement& p) { return p.control == control; });
  return found == placements.end() ? nullptr : &*found;
}

// The main window's registrations: the tree filling the window, four mark
// buttons along the bottom, three command buttons in the bottom-right corner.
// Controls 20 and 21 (a condition box and the status line) stay unregistered.
struct Registered {
  ControlKey control;
  Rect rect;
  unsigned flags;
};

const std::vector<Registered> kMainWindow = {
    {1, {10, 40, 390, 250}, kFill},          {2, {10, 260, 60, 280}, kBottomLeft},
    {3, {65, 260, 115, 280}, kBottomLeft},   {4, {120, 260, 170, 280}, kBottomLeft},
    {5, {175, 260, 225, 280}, kBottomLeft},  {6, {240, 260, 290, 280}, kBottomRight},
    {7, {295, 260, 345, 280}, kBottomRight}, {8, {350, 260, 390, 280}, kBottomRight},
};

AnchoredLayout MainWindowLayout() {
  AnchoredLayout layout;
  layout.Init(kWindow, kClient);
  for (const Registered& r : kMainWindow) layout.Add(r.control, r.rect, r.flags);
  return layout;
}

TEST(AnchoredLayoutRegistration, RecordsCornerAndSizeNewestFirst) {
  AnchoredLayout layout;
  layout.Init(kWindow, kClient);
  layout.Add(11, Rect{5, 7, 25, 19}, kBottomRight);
  layout.Add(12, Rect{-3, 2, 10, 40}, kFill);

  ASSERT_EQ(layout.count(), 2);
  const Anchor& newest = layout.anchors()[0];
  EXPECT_EQ(newest.control, 12u);
  EXPECT_EQ(newest.x, -3);
  EXPECT_EQ(newest.y, 2);
  EXPECT_EQ(newest.width, 13);
  EXPECT_EQ(newest.height, 38);
  EXPECT_EQ(newest.flags, kFill);
  const Anchor& oldest = layout.anchors()[1];
  EXPECT_EQ(oldest.control, 11u);
  EXPECT_EQ(oldest.width, 20);
  EXPECT_EQ(oldest.height, 12);
  EXPECT_EQ(layout.initial_window(), kWindow);
  EXPECT_EQ(layout.initial_client(), kClient);
}

TEST(AnchoredLayoutRegistration, NothingIsPlacedBeforeInitOrWithoutAnchors) {
  AnchoredLayout not_initialised;
  not_initialised.Add(1, Rect{10, 10, 50, 30}, kFill);
  EXPECT_TRUE(not_initialised.Reposition(ClientOfSize(500, 400)).empty());

  AnchoredLayout empty;
  empty.Init(kWindow, kClient);
  EXPECT_TRUE(empty.Reposition(ClientOfSize(500, 400)).empty());
}

struct FlagCase {
  unsigned flags;
  int dx, dy;
  Rect expected;  // from the registered rectangle {20, 30, 120, 80}
  bool moves, resizes;
};

TEST(AnchoredLayoutPlacement, EachFlagChangesOnlyItsOwnCoordinate) {
  const Rect registered{20, 30, 120, 80};
  const std::vector<FlagCase> cases = {
      {0, 100, 50, registered, false, false},
      {kAnchorStretchWidth, 100, 50, {20, 30, 220, 80}, false, true},
      {kAnchorStretchHeight, 100, 50, {20, 30, 120, 130}, false, true},
      {kAnchorFollowRight, 100, 50, {120, 30, 220, 80}, true, false},
      {kAnchorFollowBottom, 100, 50, {20, 80, 120, 130}, true, false},
      {kFill, 100, 50, {20, 30, 220, 130}, false, true},
      {kBottomRight, 100, 50, {120, 80, 220, 130}, true, false},
      {kBottomStretch, 100, 50, {20, 80, 220, 130}, true, true},
      {kFill | kBottomRight, 100, 50, {120, 80, 320, 180}, true, true},
      // Shrinking: the differences are negative.
      {kFill, -15, -20, {20, 30, 105, 60}, false, true},
      {kBottomRight, -15, -20, {5, 10, 105, 60}, true, false},
      // Bits outside the four are ignored.
      {16 | kAnchorFollowRight, 100, 50, {120, 30, 220, 80}, true, false},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "flags " << c.flags << " dx " << c.dx << " dy " << c.dy);
    AnchoredLayout layout;
    layout.Init(kWindow, kClient);
    layout.Add(42, registered, c.flags);
    const std::vector<ControlPlacement> placements =
        layout.Reposition(ClientOfSize(kClient.right + c.dx, kClient.bottom + c.dy));
    ASSERT_EQ(placements.size(), 1u);
    EXPECT_EQ(placements[0].control, 42u);
    EXPECT_EQ(RectOf(placements[0]), c.expected);
    EXPECT_EQ(placements[0].moves, c.moves);
    EXPECT_EQ(placements[0].resizes, c.resizes);
  }
}

TEST(AnchoredLayoutPlacement, WideningMainWindowMovesOnlyTheRightColumnAndTheTree) {
  const AnchoredLayout layout = MainWindowLayout();
  const std::vector<ControlPlacement> placements = layout.Reposition(ClientOfSize(500, 300));

  ASSERT_EQ(placements.size(), kMainWindow.size());
  EXPECT_EQ(Find(placements, 20), nullptr);
  EXPECT_EQ(Find(placements, 21), nullptr);
  for (const Registered& r : kMainWindow) {
    SCOPED_TRACE(::testing::Message() << "control " << r.control);
    const ControlPlacement* placement = Find(placements, r.control);
    ASSERT_NE(placement, nullptr);
    Rect expected = r.rect;
    if (r.flags == kFill) expected.right += 100;
    if (r.flags == kBottomRight) {
      expected.left += 100;
      expected.right += 100;
    }
    EXPECT_EQ(RectOf(*placement), expected);
  }
}

TEST(AnchoredLayoutPlacement, TallerWindowMovesEveryBottomAnchoredControlDown) {
  const AnchoredLayout layout = MainWindowLayout();
  const std::vector<ControlPlacement> placements = layout.Reposition(ClientOfSize(400, 350));

  for (const Registered& r : kMainWindow) {
    SCOPED_TRACE(::testing::Message() << "control " << r.control);
    const ControlPlacement* placement = Find(placements, r.control);
    ASSERT_NE(placement, nullptr);
    const bool follows_bottom = (r.flags & kAnchorFollowBottom) != 0;
    EXPECT_EQ(placement->x, r.rect.left);
    EXPECT_EQ(placement->y, r.rect.top + (follows_bottom ? 50 : 0));
    EXPECT_EQ(placement->height, r.rect.Height() + (r.flags == kFill ? 50 : 0));
  }
}

TEST(AnchoredLayoutPlacement, OrderOfRegistrationDoesNotChangeThePlacements) {
  AnchoredLayout reversed;
  reversed.Init(kWindow, kClient);
  for (auto r = kMainWindow.rbegin(); r != kMainWindow.rend(); ++r)
    reversed.Add(r->control, r->rect, r->flags);
  const AnchoredLayout forward = MainWindowLayout();

  const Rect client = ClientOfSize(613, 421);
  std::vector<ControlPlacement> a = forward.Reposition(client);
  std::vector<ControlPlacement> b = reversed.Reposition(client);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(a.front().control, kMainWindow.back().control);
  EXPECT_EQ(b.front().control, kMainWindow.front().control);
  std::reverse(b.begin(), b.end());
  EXPECT_EQ(a, b);
}

// Every registered control, placed for the opening size, lies exactly where
// it was registered.
void ExpectRegisteredPlaces(const std::vector<ControlPlacement>& placements) {
  ASSERT_EQ(placements.size(), kMainWindow.size());
  for (const Registered& r : kMainWindow) {
    SCOPED_TRACE(::testing::Message() << "control " << r.control);
    const ControlPlacement* placement = Find(placements, r.control);
    ASSERT_NE(placement, nullptr);
    EXPECT_EQ(RectOf(*placement), r.rect);
  }
}

TEST(AnchoredLayoutRoundTrip, ResizingAndComingBackRestoresEveryControl) {
  const AnchoredLayout layout = MainWindowLayout();
  const std::vector<Rect> detours = {
      ClientOfSize(500, 300),    // +100 wide
      ClientOfSize(400, 400),    // +100 high
      ClientOfSize(500, 400),    // both
      ClientOfSize(1920, 1040),  // maximised
      ClientOfSize(0, 0),        // minimised: the client area is empty
      ClientOfSize(300, 200),    // smaller than the opening size
  };
  for (const Rect& detour : detours) {
    SCOPED_TRACE(::testing::Message() << "via " << detour.right << " x " << detour.bottom);
    EXPECT_EQ(layout.Reposition(detour).size(), kMainWindow.size());
    ExpectRegisteredPlaces(layout.Reposition(kClient));
  }
}

TEST(AnchoredLayoutRoundTrip, AnEmptyClientAreaNeverGivesANegativeSize) {
  const AnchoredLayout layout = MainWindowLayout();
  const std::vector<ControlPlacement> placements = layout.Reposition(ClientOfSize(0, 0));
  for (const ControlPlacement& placement : placements) {
    SCOPED_TRACE(::testing::Message() << "control " << placement.control);
    EXPECT_GE(placement.width, 0);
    EXPECT_GE(placement.height, 0);
  }
  const ControlPlacement* tree = Find(placements, 1);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->x, 10);
  EXPECT_EQ(tree->y, 40);
}

struct ClampCase {
  const char* what;
  Rect proposed;
  Rect expected;
};

TEST(AnchoredLayoutClampSize, NeverSmallerThanTheOpeningWindowLeftAndTopStay) {
  // The opening window is 416 x 338.
  const std::vector<ClampCase> cases = {
      {"the opening rectangle", kWindow, kWindow},
      {"larger", {90, 40, 700, 600}, {90, 40, 700, 600}},
      {"one pixel narrower", {100, 50, 515, 388}, kWindow},
      {"too narrow only", {100, 50, 300, 500}, {100, 50, 516, 500}},
      {"too low only", {100, 50, 600, 100}, {100, 50, 600, 388}},
      {"too small both ways", {10, 20, 30, 40}, {10, 20, 426, 358}},
      {"left edge dragged inwards", {300, 50, 516, 388}, {300, 50, 716, 388}},
      {"top edge dragged inwards", {100, 250, 516, 388}, {100, 250, 516, 588}},
      {"negative screen coordinates", {-900, -300, -800, -200}, {-900, -300, -484, 38}},
      {"inverted", {100, 50, 90, 40}, kWindow},
  };
  AnchoredLayout layout;
  layout.Init(kWindow, kClient);
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(layout.ClampSize(c.proposed), c.expected);
  }
}

TEST(AnchoredLayoutClampSize, ChangesNothingBeforeInit) {
  const AnchoredLayout layout;
  const Rect tiny{10, 20, 11, 21};
  EXPECT_EQ(layout.ClampSize(tiny), tiny);
}

}  // namespace
}  // namespace twinseek::testing

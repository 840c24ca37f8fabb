#include "ui/parts/room_for_text.h"

#include <algorithm>

namespace tidepool {

namespace {

// The most of a gap a box keeps to a box it pushes along.
constexpr int kKeptGap = 4;
// Boxes with one left edge and at most this much between them, one under the other, are a column.
constexpr int kStackedGap = 8;

int Right(const TextBox& box) {
    return box.x + box.width;
}

bool AtSameHeight(const TextBox& a, const TextBox& b) {
    return a.y < b.y + b.height && b.y < a.y + a.height;
}

// Whether a stands to the left of b. A pixel of overlap, as a swatch has with the option beside
// it, still counts.
bool LeftOf(const TextBox& a, const TextBox& b) {
    return a.x < b.x && Right(a) <= b.x + 1;
}

// How far a panel's contents reach to the right, before and after making room.
struct Reach {
    int before = 0;
    int now = 0;
};

class Layout {
  public:
    explicit Layout(const std::vector<TextBox>& boxes) : boxes_(boxes) {
        for (const TextBox& box : boxes) {
            growth_.push_back(std::max(box.shortfall, 0));
            x_.push_back(box.x);
        }
    }

    // Places what the panel (-1 for the window) holds, column by column from the left.
    Reach place(int panel) {
        const std::vector<std::vector<int>> columns = columnsOf(panel);
        for (const std::vector<int>& column : columns)
            growAlike(column);
        Reach reach;
        for (const std::vector<int>& column : columns) {
            int x = 0;
            for (const int i : column)
                x = std::max(x, clearOf(i));
            for (const int i : column) {
                x_[at(i)] = x;
                reach.before = std::max(reach.before, Right(box(i)));
                reach.now = std::max(reach.now, right(i));
            }
        }
        return reach;
    }

    void grow(int i, int by) { growth_[at(i)] = std::max(growth_[at(i)], by); }

    // Moves the boxes that reached the window's right margin back to it, and widens a stretching
    // field on their left to follow them.
    void keepRightMargin(const Reach& window) {
        for (int i = 0; i < count(); ++i) {
            if (box(i).parent != -1 || Right(box(i)) != window.before || right(i) >= window.now)
                continue;
            const int by = window.now - right(i);
            for (int j = 0; j < count(); ++j)
                if (box(j).parent == -1 && box(j).stretches && LeftOf(box(j), box(i)) &&
                    AtSameHeight(box(j), box(i)))
                    growth_[at(j)] += by;
            x_[at(i)] += by;
        }
    }

    TextBox placed(int i) const {
        TextBox moved = box(i);
        moved.x = x_[at(i)];
        moved.width += growth_[at(i)];
        moved.shortfall = 0;
        return moved;
    }

  private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    int count() const { return static_cast<int>(boxes_.size()); }
    const TextBox& box(int i) const { return boxes_[at(i)]; }
    int right(int i) const { return x_[at(i)] + box(i).width + growth_[at(i)]; }

    // The panel's contents as columns, left to right; a box alone is a column of its own.
    std::vector<std::vector<int>> columnsOf(int panel) const {
        std::vector<int> contents;
        for (int i = 0; i < count(); ++i)
            if (box(i).parent == panel)
                contents.push_back(i);
        std::stable_sort(contents.begin(), contents.end(), [&](int a, int b) {
            return box(a).x != box(b).x ? box(a).x < box(b).x : box(a).y < box(b).y;
        });
        std::vector<std::vector<int>> columns;
        int bottom = 0;
        for (const int i : contents) {
            const bool under = !columns.empty() && box(columns.back().front()).x == box(i).x &&
                               box(i).y - bottom <= kStackedGap;
            if (!under)
                columns.emplace_back();
            columns.back().push_back(i);
            bottom = under ? std::max(bottom, box(i).y + box(i).height) : box(i).y + box(i).height;
        }
        return columns;
    }

    void growAlike(const std::vector<int>& column) {
        for (const int i : column)
            for (const int j : column)
                if (box(j).width == box(i).width)
                    growth_[at(i)] = std::max(growth_[at(i)], growth_[at(j)]);
    }

    // The leftmost place for box i that keeps it clear of everything beside it on its left.
    int clearOf(int i) const {
        int x = box(i).x;
        for (int j = 0; j < count(); ++j) {
            if (box(j).parent != box(i).parent || !LeftOf(box(j), box(i)) ||
                !AtSameHeight(box(j), box(i)))
                continue;
            const int gap = box(i).x - Right(box(j));
            x = std::max(x, right(j) + std::min(gap, kKeptGap));
        }
        return x;
    }

    const std::vector<TextBox>& boxes_;
    std::vector<int> growth_;
    std::vector<int> x_;
};

} // namespace

RoomForText MakeRoomForText(const std::vector<TextBox>& boxes, int windowWidth, int minimumWidth) {
    Layout layout(boxes);
    // A panel comes before what it holds, so going backwards every panel's contents are placed
    // before the panel itself is. A panel grows only as far as its contents reach beyond it, and
    // further than before: some stand over its edge from the start.
    for (int panel = static_cast<int>(boxes.size()) - 1; panel >= 0; --panel) {
        const Reach reach = layout.place(panel);
        const int width = boxes[static_cast<std::size_t>(panel)].width;
        layout.grow(panel, reach.now - std::max(width, reach.before));
    }
    Reach window = layout.place(-1);
    window.now = std::max(window.now, window.before + minimumWidth - windowWidth);
    layout.keepRightMargin(window);
    RoomForText room;
    room.windowWidth = windowWidth + std::max(0, window.now - window.before);
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i)
        room.boxes.push_back(layout.placed(i));
    return room;
}

} // namespace tidepool

// The registry behind GDI handles under the churn the programs make (a pen or brush created and
// deleted for nearly every line): every live handle stays recognised, every deleted one is
// refused, and the live count follows, whatever the order of deletion.
#include "canvas.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Registry, KeepsEveryLiveHandleThroughHeavyChurn)
{
    const size_t before = qp::LiveObjectCount();
    struct Case { const char* name; int count, stride; } cases[] = {
        {"every other one", 3000, 2}, {"every seventh", 5000, 7}, {"every third of many", 40000, 3}, {"all but the first", 200, 1},
    };
    for (auto& c : cases) {
        std::vector<HGDIOBJ> objects;
        for (int i = 0; i < c.count; ++i)
            objects.push_back(i % 2 ? static_cast<HGDIOBJ>(CreatePen(PS_SOLID, 1 + i % 3, RGB(i % 256, 0, 0)))
                                    : static_cast<HGDIOBJ>(CreateSolidBrush(RGB(0, i % 256, 0))));
        std::vector<bool> alive(objects.size(), true);
        // Delete from the back in strides, so entries in the middle of probe runs go first.
        for (int i = c.count - 1; i > 0; i -= c.stride) {
            ASSERT_TRUE(DeleteObject(objects[i])) << c.name << ": object " << i;
            alive[i] = false;
        }
        size_t living = 0;
        for (size_t i = 0; i < objects.size(); ++i) {
            const DWORD type = GetObjectType(objects[i]);
            if (alive[i]) {
                ++living;
                EXPECT_EQ(type, static_cast<DWORD>(i % 2 ? OBJ_PEN : OBJ_BRUSH)) << c.name << ": live object " << i;
            } else {
                EXPECT_EQ(type, 0u) << c.name << ": deleted object " << i;
                EXPECT_FALSE(DeleteObject(objects[i])) << c.name << ": deleted twice, object " << i;
            }
        }
        EXPECT_EQ(qp::LiveObjectCount(), before + living) << c.name;
        for (size_t i = 0; i < objects.size(); ++i) {
            if (alive[i]) {
                EXPECT_TRUE(DeleteObject(objects[i])) << c.name << ": object " << i;
            }
        }
        EXPECT_EQ(qp::LiveObjectCount(), before) << c.name;
    }
}

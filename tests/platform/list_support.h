#pragma once
// Reading and clicking the lines of list controls, as the user sees and gives them.

#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace testing_support {

// The lines of a list, top to bottom.
inline std::vector<std::string> ListLines(const platform::ListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

// A mouse click on line `row` of a list, as the user gives it (the window must be shown).
inline void ClickLine(platform::ListBox* list, int row) {
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr) << row;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}
// A mouse click on the file of that name in a file list.
inline void PickFile(platform::FileListBox* files, const std::string& name) {
    const auto found = files->findItems(QString::fromStdString(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    ClickLine(files, files->row(found.front()));
}

}  // namespace testing_support

#pragma once
// The port picker opened as its opener would open it: the active area's ports listed in record
// order, the window shown.

#include <gtest/gtest.h>

#include <vector>

#include "adjustment/frmselectport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"

namespace testing_support {

inline frmselectport& OpenPortPicker() {
    std::vector<engine::PortRecord> ports;
    EXPECT_TRUE(engine::ReadAllPortRecords(engine::State().AreaFilePath, ports).ok());
    auto& d = platform::Get<frmselectport>();
    for (const engine::PortRecord& p : ports)
        d.portlist->AddItem(engine::Trim(engine::TrimAtNull(p.PortName)));
    d.Show();
    return d;
}

}  // namespace testing_support

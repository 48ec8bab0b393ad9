#pragma once
// The adjustment window opened as the user opens it, and the ports it starts on.

#include <string>

#include "adjustment/frmharmadjust.h"
#include "engine/recordfile.h"
#include "window_support.h"

namespace testing_support {

class AdjustmentWindowTest : public WindowTest {
protected:
    // The user double-clicks the heading and chooses "Interpolate Between Ports".
    frmHarmAdjust& openAdjustment(frmtidewyn& main) {
        QTest::mouseDClick(main.Label1, Qt::LeftButton);
        EXPECT_TRUE(main.mnuAdjustLoad.Visible());
        main.mnuAdjustLoad.Click();
        return platform::Get<frmHarmAdjust>();
    }
    engine::PortRecord record(long n, const std::string& area = "UK.hc") {
        engine::PortRecord r;
        EXPECT_TRUE(engine::ReadPortRecord(programFolder() + "/" + area, n, r).ok());
        return r;
    }
};

}  // namespace testing_support

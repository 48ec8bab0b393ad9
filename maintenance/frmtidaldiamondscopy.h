#pragma once
// The tidal diamonds editor: the diamonds of a file of the program folder listed, amended,
// appended and removed on the left; on the right a second set of boxes whose diamond is appended
// to another file, new or existing.

#include <array>
#include <optional>
#include <string>

#include "engine/records.h"
#include "platform/controls.h"
#include "platform/forms.h"

class frmTidalDiamondsCopy : public platform::Form {
    Q_OBJECT
public:
    frmTidalDiamondsCopy();

    void fileSource_Click();
    void fileDest_Click();
    void List1_Click();
    void cmdAmend_Click();
    void cmdAddtoFile_Click();
    void cmdDelete_Click();
    void cmdCopy_Click();
    void cmdAdd_Click();

    // A double-click on an hour's direction box empties that hour of its pane.
    void txtdirm6_DblClick() { ClearHour(Pane::Source, 0); }
    void txtdirm5_DblClick() { ClearHour(Pane::Source, 1); }
    void txtdirm4_DblClick() { ClearHour(Pane::Source, 2); }
    void txtdirm3_DblClick() { ClearHour(Pane::Source, 3); }
    void txtdirm2_DblClick() { ClearHour(Pane::Source, 4); }
    void txtdirm1_DblClick() { ClearHour(Pane::Source, 5); }
    void txtdirhw_DblClick() { ClearHour(Pane::Source, 6); }
    void txtdirp1_DblClick() { ClearHour(Pane::Source, 7); }
    void txtdirp2_DblClick() { ClearHour(Pane::Source, 8); }
    void txtdirp3_DblClick() { ClearHour(Pane::Source, 9); }
    void txtdirp4_DblClick() { ClearHour(Pane::Source, 10); }
    void txtdirp5_DblClick() { ClearHour(Pane::Source, 11); }
    void txtdirp6_DblClick() { ClearHour(Pane::Source, 12); }
    void txtDestdirm6_DblClick() { ClearHour(Pane::Dest, 0); }
    void txtDestdirm5_DblClick() { ClearHour(Pane::Dest, 1); }
    void txtDestdirm4_DblClick() { ClearHour(Pane::Dest, 2); }
    void txtDestdirm3_DblClick() { ClearHour(Pane::Dest, 3); }
    void txtDestdirm2_DblClick() { ClearHour(Pane::Dest, 4); }
    void txtDestdirm1_DblClick() { ClearHour(Pane::Dest, 5); }
    void txtDestdirhw_DblClick() { ClearHour(Pane::Dest, 6); }
    void txtDestdirp1_DblClick() { ClearHour(Pane::Dest, 7); }
    void txtDestdirp2_DblClick() { ClearHour(Pane::Dest, 8); }
    void txtDestdirp3_DblClick() { ClearHour(Pane::Dest, 9); }
    void txtDestdirp4_DblClick() { ClearHour(Pane::Dest, 10); }
    void txtDestdirp5_DblClick() { ClearHour(Pane::Dest, 11); }
    void txtDestdirp6_DblClick() { ClearHour(Pane::Dest, 12); }

    std::string DiamondFileName, DestDiamondFileName;
    int SavedDiamondIndex = 0;

    platform::Label* lblInstructions;
    // The source pane.
    platform::Label *lblSourcefiles, *lblSourceFile, *lblEntryNo, *Lbldiamno;
    platform::FileListBox* fileSource;
    platform::ListBox* List1;
    platform::TextBox *txtid, *txtlat, *txtlong;
    platform::CommandButton *cmdAmend, *cmdAddtoFile, *cmdDelete, *cmdCopy;
    // The destination pane.
    platform::Label *lblDestFiles, *lblDestFile, *lblDestEntryNo, *lblDestDiamno;
    platform::FileListBox* fileDest;
    platform::TextBox* txtDestFile;
    platform::ListBox* List2;
    platform::TextBox *txtDestID, *txtDestLat, *txtDestLong;
    platform::CommandButton* cmdAdd;
    // The hour grids, HW -6 to HW +6: direction, springs and neaps.
    platform::TextBox *txtdirm6, *txtspratem6, *txtnpratem6;
    platform::TextBox *txtdirm5, *txtspratem5, *txtnpratem5;
    platform::TextBox *txtdirm4, *txtspratem4, *txtnpratem4;
    platform::TextBox *txtdirm3, *txtspratem3, *txtnpratem3;
    platform::TextBox *txtdirm2, *txtspratem2, *txtnpratem2;
    platform::TextBox *txtdirm1, *txtspratem1, *txtnpratem1;
    platform::TextBox *txtdirhw, *txtspratehw, *txtnpratehw;
    platform::TextBox *txtdirp1, *txtspratep1, *txtnpratep1;
    platform::TextBox *txtdirp2, *txtspratep2, *txtnpratep2;
    platform::TextBox *txtdirp3, *txtspratep3, *txtnpratep3;
    platform::TextBox *txtdirp4, *txtspratep4, *txtnpratep4;
    platform::TextBox *txtdirp5, *txtspratep5, *txtnpratep5;
    platform::TextBox *txtdirp6, *txtspratep6, *txtnpratep6;
    platform::TextBox *txtDestdirm6, *txtDestspratem6, *txtDestnpratem6;
    platform::TextBox *txtDestdirm5, *txtDestspratem5, *txtDestnpratem5;
    platform::TextBox *txtDestdirm4, *txtDestspratem4, *txtDestnpratem4;
    platform::TextBox *txtDestdirm3, *txtDestspratem3, *txtDestnpratem3;
    platform::TextBox *txtDestdirm2, *txtDestspratem2, *txtDestnpratem2;
    platform::TextBox *txtDestdirm1, *txtDestspratem1, *txtDestnpratem1;
    platform::TextBox *txtDestdirhw, *txtDestspratehw, *txtDestnpratehw;
    platform::TextBox *txtDestdirp1, *txtDestspratep1, *txtDestnpratep1;
    platform::TextBox *txtDestdirp2, *txtDestspratep2, *txtDestnpratep2;
    platform::TextBox *txtDestdirp3, *txtDestspratep3, *txtDestnpratep3;
    platform::TextBox *txtDestdirp4, *txtDestspratep4, *txtDestnpratep4;
    platform::TextBox *txtDestdirp5, *txtDestspratep5, *txtDestnpratep5;
    platform::TextBox *txtDestdirp6, *txtDestspratep6, *txtDestnpratep6;

    enum class Pane { Source, Dest };
    // A pane's 42 boxes: reference, latitude, longitude, then each hour's three.
    struct PaneBoxes {
        platform::TextBox *ref, *lat, *lon;
        std::array<std::array<platform::TextBox*, 3>, engine::TidalDiamondRecord::kHours> hours;
    };
    PaneBoxes Boxes(Pane pane) const;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void ClearSourceFields();
    void ClearHour(Pane pane, int hour);
    // The diamond a pane's boxes hold; nothing, and said so, when a position is missing or a
    // box holds what the file cannot.
    std::optional<engine::TidalDiamondRecord> DiamondFrom(Pane pane);
    // The file "Add" appends to, from the typed name; "" when it is refused (and said so).
    std::string DestinationPath(std::string typed);
    void arrangeControls();

    platform::Label *lblRef[2], *lblLat[2], *lblLong[2];
    platform::Label* lblColumn[2][3];
    platform::Label* lblHour[2][engine::TidalDiamondRecord::kHours];
};

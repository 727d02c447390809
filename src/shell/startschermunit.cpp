#include "shell/startschermunit.h"

#include "shell/fileset.h"

namespace shell {

std::string ProductTitle;
bool RightEndUser = true, RightEndUserManager = true, RightSystemAdministrator = true;
std::string CurrentAdministrationCode;
std::string CurrentAdministrationName;
TStartscherm* Startscherm = nullptr;

TStartscherm::TStartscherm() : ui::Form("Startscherm", "TStartscherm") {
  width = 760;
  height = 520;
  TreeView1.hints.stretch = 2;
  TreeView1.hints.minWidth = 300;
  Side.hints.stretch = 1;
  Side.SetBevel(false);
  Panel1.gridColumns = 2;
  Label4.SetBold(true);
  Label4.hints.colSpan = 2;
  Edit2.SetCharCase(ui::CharCase::Upper);
  Edit3.SetPasswordChar('*');
  Edit4.SetReadOnly(true);
  Edit4.SetBackColor(ui::colors::Red);
  Edit4.SetVisible(false);
  Edit4.hints.colSpan = 2;

  OnCreate = [this] { FormCreate(); };
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Button2.OnClick = [this] { Button2Click(); };
  Exit1.OnClick = [this] { Exit1Click(); };
}

void TStartscherm::FormCreate() {
  ProductTitle = "Ombrelo Account Enterprise 2.0.6";
  CurrentAdministrationCode.clear();
  RightEndUser = RightEndUserManager = RightSystemAdministrator = true;
  SetCaption(ProductTitle + " : Menu ");
  TreeView1.Clear();
  TreeView1.AddRoot(ProductTitle)->imageIndex = 0;
}

void TStartscherm::FormActivate() {
  // The first activation ends the start-up file set, which stayed open while
  // the forms were created.
  if (!activatedOnce_) {
    activatedOnce_ = true;
    CloseFileSet();
  }
}

void TStartscherm::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::Escape) {
    key = 0;
    Close();
  }
}

// Cancel on the log-in panel ends the program.
void TStartscherm::Button2Click() { Close(); }

void TStartscherm::Exit1Click() { Close(); }

}  // namespace shell

#include "masterdata/fixedassets.h"

#include "formkit/filesetscope.h"
#include "books/administration/fixedassetstore.h"
#include "platform/cp1252.h"
#include "records/ledgeraccountrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace masterdata {

using text::BuiltInText;

TFixedassetsform* Fixedassetsform = nullptr;

std::string MsgAssetNumberExists() {
  return BuiltInText(text::BuiltIn::AssetNumberExists);
}
std::string MsgAssetNumberEmpty() {
  return BuiltInText(text::BuiltIn::AssetNumberEmpty);
}
std::string MsgFixedAssetFileDamaged() {
  return BuiltInText(text::BuiltIn::FixedAssetFileDamaged);
}
std::string MsgAssetSaved() {
  return BuiltInText(text::BuiltIn::AssetSaved);
}

TFixedassetsform::TFixedassetsform() : ui::Form("Fixedassetsform", "TFixedassetsform") {
  width = 560;
  height = 300;
  Edit2.SetMaxLength(20);
  Edit4.SetMaxLength(20);
  Panel1.gridColumns = 2;
  for (ui::Component* c : {static_cast<ui::Component*>(&Edit2), static_cast<ui::Component*>(&ComboBox2),
                           static_cast<ui::Component*>(&Edit4)})
    c->hints.minWidth = 320;
  for (ui::Component* c :
       {static_cast<ui::Component*>(&Edit5), static_cast<ui::Component*>(&Edit6), static_cast<ui::Component*>(&Edit7),
        static_cast<ui::Component*>(&Edit8), static_cast<ui::Component*>(&Edit10),
        static_cast<ui::Component*>(&Edit11), static_cast<ui::Component*>(&Edit12),
        static_cast<ui::Component*>(&ComboBox1), static_cast<ui::Component*>(&DateTimePicker1),
        static_cast<ui::Component*>(&CheckBox1), static_cast<ui::Component*>(&Memo1),
        static_cast<ui::Component*>(&Panel2), static_cast<ui::Component*>(&Panel3)})
    c->SetVisible(false);
  ButtonPanel.SetBevel(false);
  TabControl1.SetTabs({"Details"});

  OnActivate = [this] { FormActivate(); };
  OnKeyPress = [this](char& k) { FormKeyPress(k); };
  TabControl1.OnChange = [this] { TabControl1Change(); };
  Button5.OnClick = [this] { Button5Click(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  ComboBox2.OnSelect = [this] { ComboBox2Exit(); };
  Afsluiten1.OnClick = [this] { Afsluiten1Click(); };
}

void TFixedassetsform::ApplyLanguageTexts() {
  const std::string title = BuiltInText(text::BuiltIn::FixedAssets);
  SetCaption(store::ProductTitle + " : " + title);
  TabControl1.SetTab(0, BuiltInText(text::BuiltIn::Details));
  Label2.SetCaption(BuiltInText(text::BuiltIn::AssetNumber));
  Label3.SetCaption(BuiltInText(text::BuiltIn::GLAccount));
  Label4.SetCaption(BuiltInText(text::BuiltIn::Description));
  Button5.SetCaption(BuiltInText(text::BuiltIn::Save));
  Bestand1.SetCaption(BuiltInText(text::BuiltIn::File));
  Afsluiten1.SetCaption(BuiltInText(text::BuiltIn::Close));
}

void TFixedassetsform::FormActivate() {
  ApplyLanguageTexts();
  for (ui::Edit* e : {&Edit2, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8}) e->SetText({});
  TabControl1.SetTabIndex(0);
  StatusBar1.Show({}, ui::colors::Default);
  ComboBox2.ClearItems();
  ComboBox2.SetText({});
  formkit::FileSetScope scope("GLA", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  for (const records::LedgerAccountRec& account :
       store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit))
    ComboBox2.AddItem(account.AccountNumber() + "{" + account.Caption() + "}");
}

void TFixedassetsform::FormKeyPress(char& key) {
  if (key == 27) {
    key = 0;
    Close();
  }
}

void TFixedassetsform::TabControl1Change() {
  const int tab = TabControl1.TabIndex();
  Panel1.SetVisible(tab == 0);
}

void TFixedassetsform::ComboBox1Exit() {
  if (ComboBox1.IndexOfIgnoringCase(ComboBox1.GetText()) < 0) ComboBox1.SetText({});
}

void TFixedassetsform::ComboBox2Exit() {
  const std::string text = ComboBox2.GetText();
  const int item = ComboBox2.IndexOfIgnoringCase(text);
  if (item >= 0) {
    ComboBox2.SetItemIndex(item);
    return;
  }
  // An item's text as stored (cut to 60) stays as it is.
  for (const ui::ComboBox::Item& i : ComboBox2.Items())
    if (!text.empty() && text::Cut(i.text, 60) == text) return;
  ComboBox2.SetText({});
}

void TFixedassetsform::Button5Click() {
  ComboBox2Exit();
  records::FixedAssetRec asset;
  asset.SetAssetNumber(text::Cut(Edit2.GetText(), 20));
  asset.SetAccountNumber(text::Cut(ComboBox2.GetText(), 60));
  asset.SetDescription(text::Cut(Edit4.GetText(), 20));
  if (asset.AssetNumber().empty()) {
    StatusBar1.Show(MsgAssetNumberEmpty(), ui::colors::Default);
    return;
  }
  formkit::FileSetScope scope("FIX", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  switch (books::administration::InsertFixedAsset(asset)) {
    case books::administration::FixedAssetSave::Duplicate:
      StatusBar1.Show(MsgAssetNumberExists(), ui::colors::Default);
      return;
    case books::administration::FixedAssetSave::EmptyNumber:
      StatusBar1.Show(MsgAssetNumberEmpty(), ui::colors::Default);
      return;
    case books::administration::FixedAssetSave::Damaged:
      ui::ShowMessage(MsgFixedAssetFileDamaged());
      return;
    case books::administration::FixedAssetSave::Saved:
      break;
  }
  // The fields show what was stored.
  Edit2.SetText(asset.AssetNumber());
  ComboBox2.SetText(asset.AccountNumber());
  Edit4.SetText(asset.Description());
  StatusBar1.Show(MsgAssetSaved(), ui::colors::Default);
}

void TFixedassetsform::Afsluiten1Click() { Close(); }

}  // namespace masterdata

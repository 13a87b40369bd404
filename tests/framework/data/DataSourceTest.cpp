#include "framework/data/DataSource.h"

#include <string>
#include <vector>

#include "framework/core/Property.h"
#include "framework/data/ADOQuery.h"
#include "framework/data/DataLink.h"
#include "tests/framework/data/SharedDatabase.h"
#include "tests/harness/Gtest.h"

namespace {

using TLog = std::vector<std::u16string>;

// Writes down every notification, with the record it then sees.
class TRecordingLink : public TDataLink {
  DECLARE_CLASS(TRecordingLink, TDataLink)
  TRecordingLink(TLog& log, std::u16string tag) : log_(log), tag_(std::move(tag)) {}

 protected:
  void ActiveChanged() override { Note(Active() ? u"active on" : u"active off"); }
  void DataSetChanged() override { Note(u"changed"); }
  void DataSetScrolled(int distance) override { Note(u"scroll " + IntToStr(distance)); }
  void LayoutChanged() override { Note(u"layout"); }

 private:
  void Note(const std::u16string& what) {
    std::u16string text = tag_ + what;
    TDataSet* ds = DataSet();
    if (Active() && ds->RecNo() > 0) text += u" @" + ds->Fields(1)->AsString();
    log_.push_back(text);
  }
  TLog& log_;
  std::u16string tag_;
};

IMPLEMENT_CLASS(TRecordingLink)

class DataSourceTest : public testing::Test {
 protected:
  void SetUp() override {
    owner_ = new TComponent(nullptr);
    q_ = NewQuery(owner_, u"q", u"select * from five_t order by a");
    source_ = new TDataSource(owner_);
    source_->SetDataSet(q_);
    link_ = new TRecordingLink(log_, u"");
    link_->SetDataSource(source_);
  }
  void TearDown() override {
    if (link_ != nullptr) link_->Free();
    owner_->Free();
  }
  TLog Take() {
    TLog out;
    out.swap(log_);
    return out;
  }

  TLog log_;
  TComponent* owner_ = nullptr;
  TADOQuery* q_ = nullptr;
  TDataSource* source_ = nullptr;
  TRecordingLink* link_ = nullptr;
};

// ---- what a link hears, step by step ----

enum class TAction { Open, Next, Prior, MoveBy, First, Last, RecNo, Requery, Close, OpenEmpty };

struct TNoticeStep {
  TAction Action;
  int Arg;
  TLog Heard;
};

const TNoticeStep kNoticeSteps[] = {
    {TAction::Open, 0, {u"active on @r1", u"scroll 1 @r1"}},
    {TAction::Next, 0, {u"scroll 1 @r2"}},
    {TAction::MoveBy, 2, {u"scroll 2 @r4"}},
    {TAction::Last, 0, {u"scroll 1 @r5"}},
    {TAction::Next, 0, {}},  // already at the end: Eof, no move
    {TAction::Prior, 0, {u"scroll -1 @r4"}},
    {TAction::First, 0, {u"scroll -3 @r1"}},
    {TAction::First, 0, {}},
    {TAction::RecNo, 3, {u"scroll 2 @r3"}},
    {TAction::Requery, 0, {u"changed @r1"}},
    {TAction::Close, 0, {u"active off"}},
    {TAction::Close, 0, {}},
    {TAction::OpenEmpty, 0, {u"active on"}},  // no record to move to
    {TAction::Close, 0, {u"active off"}},
};

TEST_F(DataSourceTest, LinkHearsOpenScrollAndCloseInOrder) {
  for (size_t i = 0; i < std::size(kNoticeSteps); ++i) {
    const TNoticeStep& s = kNoticeSteps[i];
    switch (s.Action) {
      case TAction::Open: q_->Open(); break;
      case TAction::Next: q_->Next(); break;
      case TAction::Prior: q_->Prior(); break;
      case TAction::MoveBy: q_->MoveBy(s.Arg); break;
      case TAction::First: q_->First(); break;
      case TAction::Last: q_->Last(); break;
      case TAction::RecNo: q_->SetRecNo(s.Arg); break;
      case TAction::Requery: q_->Requery(); break;
      case TAction::Close: q_->Close(); break;
      case TAction::OpenEmpty:
        q_->SQL()->Clear();
        q_->SQL()->Add(u"select * from empty_t");
        q_->Open();
        break;
    }
    EXPECT_EQ(Take(), s.Heard) << "step " << i;
  }
}

TEST_F(DataSourceTest, EveryLinkOfTheSourceHearsTheNews) {
  auto* second = new TRecordingLink(log_, u"2:");
  second->SetDataSource(source_);
  EXPECT_EQ(source_->LinkCount(), 2);
  q_->Open();
  q_->Next();
  EXPECT_EQ(Take(), (TLog{u"active on @r1", u"2:active on @r1", u"scroll 1 @r1", u"2:scroll 1 @r1",
                          u"scroll 1 @r2", u"2:scroll 1 @r2"}));
  second->Free();
  EXPECT_EQ(source_->LinkCount(), 1);
  q_->Next();
  EXPECT_EQ(Take(), (TLog{u"scroll 1 @r3"}));
}

TEST_F(DataSourceTest, LinkToAnOpenDataSetIsActiveAtOnce) {
  q_->Open();
  Take();
  TLog late;
  auto* link = new TRecordingLink(late, u"");
  link->SetDataSource(source_);
  EXPECT_TRUE(link->Active());
  EXPECT_EQ(link->RecordCount(), 5);
  EXPECT_EQ(late, (TLog{u"active on @r1"}));
  link->SetDataSource(nullptr);
  EXPECT_FALSE(link->Active());
  EXPECT_EQ(late.back(), u"active off");
  link->Free();
}

TEST_F(DataSourceTest, DisabledSourceShowsAnInactiveDataSet) {
  q_->Open();
  Take();
  source_->SetEnabled(false);
  EXPECT_EQ(source_->State(), TDataSetState::dsInactive);
  EXPECT_FALSE(link_->Active());
  q_->Next();
  source_->SetEnabled(true);
  EXPECT_EQ(Take(), (TLog{u"active off", u"active on @r2"}));
}

TEST_F(DataSourceTest, SourceEventsFollowStateAndData) {
  TLog events;
  source_->OnStateChange = [&](TObject* s) {
    events.push_back(u"state " + EnumName(static_cast<TDataSource*>(s)->State()));
  };
  source_->OnDataChange = [&](TObject*, TField* f) { events.push_back(f == nullptr ? u"data" : u"field"); };
  q_->Open();
  q_->Next();
  q_->Close();
  EXPECT_EQ(events, (TLog{u"state dsBrowse", u"data", u"data", u"state dsInactive"}));
}

// ---- freed in any order ----

TEST_F(DataSourceTest, DataSetFreedFirst) {
  q_->Open();
  Take();
  q_->Free();
  EXPECT_EQ(source_->DataSet(), nullptr);
  EXPECT_FALSE(link_->Active());
  EXPECT_EQ(link_->DataSet(), nullptr);
  EXPECT_EQ(Take(), (TLog{u"active off"}));
}

TEST_F(DataSourceTest, SourceFreedFirst) {
  q_->Open();
  Take();
  source_->Free();
  EXPECT_EQ(link_->DataSource(), nullptr);
  EXPECT_FALSE(link_->Active());
  EXPECT_EQ(Take(), (TLog{u"active off"}));
  q_->Next();  // nobody left to tell
  EXPECT_TRUE(Take().empty());
}

TEST_F(DataSourceTest, LinkFreedFirst) {
  q_->Open();
  link_->Free();
  link_ = nullptr;
  EXPECT_EQ(source_->LinkCount(), 0);
  q_->Next();
  q_->Close();
  EXPECT_EQ(Take(), (TLog{u"active on @r1", u"scroll 1 @r1"}));
}

TEST_F(DataSourceTest, OwnerFreesEverythingWhileOpen) {
  q_->Open();
  Take();
  owner_->Free();
  owner_ = new TComponent(nullptr);  // for TearDown
  EXPECT_EQ(link_->DataSource(), nullptr);
  EXPECT_EQ(Take(), (TLog{u"active off"}));
}

TEST_F(DataSourceTest, PublishedProperties) {
  EXPECT_FALSE(source_->AutoEdit());
  EXPECT_EQ(GetEnumProp(source_, u"AutoEdit"), u"False");
  EXPECT_EQ(GetEnumProp(source_, u"Enabled"), u"True");
  EXPECT_EQ(GetObjectProp(source_, u"DataSet"), q_);
  EXPECT_TRUE(SetObjectProp(source_, u"DataSet", nullptr));
  EXPECT_EQ(source_->DataSet(), nullptr);
  EXPECT_TRUE(SetObjectProp(source_, u"DataSet", q_));
  EXPECT_EQ(source_->DataSet(), q_);
}

// ---- a link to one field, as a bound edit holds it ----

TEST_F(DataSourceTest, FieldLinkFollowsTheCurrentRecord) {
  auto* field = new TFieldDataLink;
  field->SetFieldName(u"B");
  field->SetDataSource(source_);
  TLog shown;
  field->OnDataChange = [&](TObject*) { shown.push_back(field->FieldText()); };
  EXPECT_EQ(field->Field(), nullptr);
  q_->Open();
  ASSERT_NE(field->Field(), nullptr);
  EXPECT_EQ(field->Field()->FieldName(), u"b");
  q_->MoveBy(2);
  q_->Close();
  EXPECT_EQ(field->Field(), nullptr);
  EXPECT_EQ(field->FieldText(), u"");
  EXPECT_EQ(shown, (TLog{u"r1", u"r1", u"r3", u""}));
  field->Free();
}

TEST_F(DataSourceTest, FieldLinkFindsTheNewFieldsOfAnotherResult) {
  auto* field = new TFieldDataLink;
  field->SetFieldName(u"b");
  field->SetDataSource(source_);
  q_->Open();
  q_->Close();
  q_->SQL()->Clear();
  q_->SQL()->Add(u"select b, a from one_t");
  q_->Open();
  EXPECT_EQ(field->FieldText(), u"one");
  field->SetFieldName(u"nope");
  EXPECT_EQ(field->Field(), nullptr);
  EXPECT_EQ(field->FieldText(), u"");
  field->Free();
}

}  // namespace

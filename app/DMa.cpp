#include "app/DMa.h"

#include "framework/core/Property.h"

TDMa* DMa = nullptr;
const char16_t* const TDMa::DefaultDataSource = u"dll/kestlib.dll";
std::u16string TDMa::DataSourceOverride;

IMPLEMENT_CLASS(TDMa)

std::u16string TDMa::ConnectionString(const std::u16string& dataSource) {
  return u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + dataSource +
         u";Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;"
         u"Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
         u"Jet OLEDB:Database Password=qant527~;Jet OLEDB:Engine Type=5;"
         u"Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
         u"Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
         u"Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
         u"Jet OLEDB:Don't Copy Locale on Compact=False;"
         u"Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
}

TADOQuery* TDMa::Query(const char16_t* name, const char16_t* sql) {
  auto* q = new TADOQuery(this);
  q->SetName(name);
  q->SetConnection(db);
  q->SQL()->Add(sql);
  return q;
}

TDataSource* TDMa::Source(const char16_t* name, TDataSet* dataSet) {
  auto* s = new TDataSource(this);
  s->SetName(name);
  s->SetDataSet(dataSet);
  s->SetAutoEdit(false);
  return s;
}

template <class F>
F* TDMa::Field(TADOQuery* query, const char16_t* fieldName, int size) {
  auto* f = new F(this);
  f->SetName(query->Name() + fieldName);
  f->SetFieldName(fieldName);
  if (size > 0) f->SetSize(size);
  f->SetDataSet(query);
  return f;
}

TDMa::TDMa(TComponent* owner) : TDataModule(owner) {
  SetName(u"DMa");
  db = new TADOConnection(this);
  db->SetName(u"db");
  db->SetConnectionString(
      ConnectionString(DataSourceOverride.empty() ? DefaultDataSource : DataSourceOverride));
  db->SetLoginPrompt(false);
  db->SetMode(TConnectMode::cmShareDenyNone);
  db->SetConnected(true);  // opens once the module has loaded

  seachQ = Query(u"seachQ", u"select *  from kest_hz");
  seachS = Source(u"seachS", seachQ);

  cd_seachq = Query(u"cd_seachq", u"select *  from kest_cd");
  Field<TAutoIncField>(cd_seachq, u"ID");
  Field<TWideStringField>(cd_seachq, u"word", 50);
  Field<TWideStringField>(cd_seachq, u"szm", 50);
  Field<TMemoField>(cd_seachq, u"content");
  Field<TWideStringField>(cd_seachq, u"ord", 50);
  Field<TWideStringField>(cd_seachq, u"spell", 50);
  cd_seachS = Source(u"cd_seachS", cd_seachq);

  // Created before its query, as the stored module has it; joined once both exist.
  cy_seachS = Source(u"cy_seachS", nullptr);
  cy_seachQ = Query(u"cy_seachQ", u"select *  from kest_cy where ChengYu like '%花好月圆%'");
  Field<TAutoIncField>(cy_seachQ, u"cyid");
  Field<TWideStringField>(cy_seachQ, u"ChengYu", 40);
  Field<TWideStringField>(cy_seachQ, u"PingYin", 80);
  Field<TMemoField>(cy_seachQ, u"content");
  Field<TWideStringField>(cy_seachQ, u"js", 255);
  Field<TMemoField>(cy_seachQ, u"derivation");
  Field<TWideStringField>(cy_seachQ, u"ChuChu", 255);
  Field<TWideStringField>(cy_seachQ, u"dg", 255);
  Field<TMemoField>(cy_seachQ, u"samples");
  Field<TWideStringField>(cy_seachQ, u"jl", 255);
  Field<TWideStringField>(cy_seachQ, u"pyjm", 20);
  for (const char16_t* name : {u"jyc", u"fyc", u"dmm", u"yf", u"rw", u"yw", u"ew", u"xy", u"gs"})
    Field<TWideStringField>(cy_seachQ, name, 255);
  for (const char16_t* name : {u"cy", u"nd", u"jg", u"cx"}) Field<TIntegerField>(cy_seachQ, name);
  Field<TWideStringField>(cy_seachQ, u"sici", 255);
  cy_seachS->SetDataSet(cy_seachQ);

  en_seachQ = Query(u"en_seachQ", u"select *  from kest_en where en = 'china'");
  en_seachS = Source(u"en_seachS", en_seachQ);

  xhy_seachQ = Query(u"xhy_seachQ", u"select *  from kest_xhy where first1 like '%阿斗当皇帝%'");
  Field<TAutoIncField>(xhy_seachQ, u"ID");
  Field<TWideStringField>(xhy_seachQ, u"first1", 80);
  Field<TWideStringField>(xhy_seachQ, u"end1", 80);
  xhy_seachS = Source(u"xhy_seachS", xhy_seachQ);

  sysQ = Query(u"sysQ", u"select *  from kest_sys");
  sysQ->SetActive(true);  // opens once the module has loaded
  sysS = Source(u"sysS", sysQ);
}

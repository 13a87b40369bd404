#pragma once
// Ordered lists of text lines.
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Object.h"

class TStream;

using TNotifyEvent = std::function<void(TObject* sender)>;

class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)
  virtual int Count() const = 0;
  virtual std::u16string Get(int index) const = 0;
  virtual void Put(int index, const std::u16string& text) = 0;
  virtual TObject* Objects(int index) const = 0;
  virtual void PutObject(int index, TObject* object) = 0;
  virtual void Insert(int index, const std::u16string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::u16string operator[](int index) const { return Get(index); }
  int Add(const std::u16string& text);
  int AddObject(const std::u16string& text, TObject* object);
  void AddStrings(const TStrings& other);
  // Position of the first line equal to text (ASCII case ignored), or -1.
  virtual int IndexOf(const std::u16string& text) const;
  // "name=value" lines.
  std::u16string Names(int index) const;
  std::u16string ValueFromIndex(int index) const;
  std::u16string Values(const std::u16string& name) const;
  void SetValue(const std::u16string& name, const std::u16string& value);
  int IndexOfName(const std::u16string& name) const;

  // Every line followed by CR LF.
  std::u16string Text() const;
  // Splits at CR LF, LF or CR; a break after the last line adds no empty line.
  void SetText(std::u16string_view text);

  // Reads 8-bit text in the given code page (936: GBK, 0: the ANSI code page).
  // Raises EFOpenError naming the full path when the file cannot be opened.
  void LoadFromFile(const std::u16string& fileName, unsigned codePage = 936);
  void LoadFromStream(TStream& stream, unsigned codePage = 936);

  void Assign(const TPersistent* source) override;
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void SetUpdateState(bool updating);
  int UpdateCount() const { return updateCount_; }

 private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)
  TStringList() = default;
  int Count() const override { return static_cast<int>(items_.size()); }
  std::u16string Get(int index) const override;
  void Put(int index, const std::u16string& text) override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::u16string& text) override;
  void Delete(int index) override;
  void Clear() override;

 protected:
  void SetUpdateState(bool updating) override;
  void Changing();
  void Changed();

 private:
  struct Item {
    std::u16string text;
    TObject* object = nullptr;
  };
  void CheckIndex(int index, bool allowEnd = false) const;
  std::vector<Item> items_;
};

// Splits text into lines at CR LF, LF or CR.
std::vector<std::u16string> SplitLines(std::u16string_view text);

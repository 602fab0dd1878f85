// The runtime's queue; see queue.h.
#include "runtime/win/queue.h"

#include <cstring>

#include "runtime/sys/error_state.h"
#include "runtime/text/strings.h"

namespace qx {
namespace {

LONG Outcome(LONG code) {
  RtSetError(code);
  return code;
}

}  // namespace

RtQueue::RtQueue(std::initializer_list<QueueField> fields) : RtQueue(std::vector<QueueField>(fields)) {}

RtQueue::RtQueue(std::vector<QueueField> fields) {
  for (QueueField& f : fields) {
    const UseVariable::Type type = f.variable.type();
    if (type == UseVariable::Type::kNone || type == UseVariable::Type::kQueue) continue;
    if (type == UseVariable::Type::kStdString) {
      offsets_.push_back(texts_++);
    } else {
      offsets_.push_back(bytes_);
      bytes_ += f.variable.StorageBytes();
    }
    fields_.push_back(std::move(f));
  }
}

int RtQueue::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (RtSameIgnoringCase(fields_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

RtQueue::Entry RtQueue::FromBuffer() const {
  Entry e;
  e.bytes.resize(bytes_);
  e.texts.reserve(texts_);
  for (size_t i = 0; i < fields_.size(); ++i) {
    const UseVariable& v = fields_[i].variable;
    if (v.type() == UseVariable::Type::kStdString) {
      e.texts.push_back(v.Text());
    } else if (const size_t n = v.StorageBytes(); n > 0) {
      std::memcpy(e.bytes.data() + offsets_[i], v.address(), n);
    }
  }
  return e;
}

void RtQueue::ToBuffer(const Entry& e) {
  for (size_t i = 0; i < fields_.size(); ++i) {
    UseVariable& v = fields_[i].variable;
    if (v.type() == UseVariable::Type::kStdString) {
      v.SetText(e.texts[offsets_[i]]);
    } else if (const size_t n = v.StorageBytes(); n > 0) {
      std::memcpy(v.address(), e.bytes.data() + offsets_[i], n);
    }
  }
}

LONG RtQueue::Records() const {
  std::lock_guard<std::mutex> lock(mu_);
  return static_cast<LONG>(entries_.size());
}

QueueValue RtQueue::Value(LONG number, size_t field) const {
  QueueValue out;
  if (field >= fields_.size()) return out;
  const UseVariable& declared = fields_[field].variable;
  out.numeric = declared.numeric();
  std::lock_guard<std::mutex> lock(mu_);
  if (number < 1 || static_cast<size_t>(number) > entries_.size()) return out;
  const Entry& e = entries_[static_cast<size_t>(number - 1)];
  if (declared.type() == UseVariable::Type::kStdString) {
    out.text = e.texts[offsets_[field]];
    return out;
  }
  // A copy of the stored bytes, read through a variable of the field's type.
  std::string copy = e.bytes.substr(offsets_[field], declared.StorageBytes());
  const UseVariable stored = UseVariable::AtAddress(declared.type(), copy.data(), declared.width());
  if (out.numeric) {
    out.number = stored.Number();
  } else {
    out.text = stored.Text();
  }
  return out;
}

std::uint64_t RtQueue::revision() const {
  std::lock_guard<std::mutex> lock(mu_);
  return revision_;
}

LONG RtQueue::Get(LONG number) {
  std::lock_guard<std::mutex> lock(mu_);
  if (number < 1 || static_cast<size_t>(number) > entries_.size()) return Outcome(kEntryNotFound);
  ToBuffer(entries_[static_cast<size_t>(number - 1)]);
  pointer_ = number;
  return Outcome(kNoError);
}

void RtQueue::Add() {
  std::lock_guard<std::mutex> lock(mu_);
  entries_.push_back(FromBuffer());
  pointer_ = static_cast<LONG>(entries_.size());
  ++revision_;
  Outcome(kNoError);
}

LONG RtQueue::Add(LONG position) {
  std::lock_guard<std::mutex> lock(mu_);
  if (position < 1 || static_cast<size_t>(position) > entries_.size() + 1) return Outcome(kEntryNotFound);
  entries_.insert(entries_.begin() + (position - 1), FromBuffer());
  pointer_ = position;
  ++revision_;
  return Outcome(kNoError);
}

LONG RtQueue::Put() {
  std::lock_guard<std::mutex> lock(mu_);
  if (pointer_ < 1 || static_cast<size_t>(pointer_) > entries_.size()) return Outcome(kEntryNotFound);
  entries_[static_cast<size_t>(pointer_ - 1)] = FromBuffer();
  ++revision_;
  return Outcome(kNoError);
}

LONG RtQueue::Delete() {
  std::lock_guard<std::mutex> lock(mu_);
  if (pointer_ < 1 || static_cast<size_t>(pointer_) > entries_.size()) return Outcome(kEntryNotFound);
  entries_.erase(entries_.begin() + (pointer_ - 1));
  pointer_ = 0;
  ++revision_;
  return Outcome(kNoError);
}

void RtQueue::Free() {
  std::lock_guard<std::mutex> lock(mu_);
  entries_.clear();
  pointer_ = 0;
  ++revision_;
  Outcome(kNoError);
}

void RtQueue::Release() {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<Entry>().swap(entries_);
  pointer_ = 0;
  ++revision_;
  Outcome(kNoError);
}

LONG RtQueue::Pointer() const {
  std::lock_guard<std::mutex> lock(mu_);
  return pointer_;
}

LONG RtQueueGet(RtQueue& queue, LONG number) { return queue.Get(number); }
void RtQueueAdd(RtQueue& queue) { queue.Add(); }
LONG RtQueueAdd(RtQueue& queue, LONG position) { return queue.Add(position); }
LONG RtQueuePut(RtQueue& queue) { return queue.Put(); }
LONG RtQueueDelete(RtQueue& queue) { return queue.Delete(); }
void RtQueueFree(RtQueue& queue) { queue.Free(); }
void RtQueueRelease(RtQueue& queue) { queue.Release(); }
LONG RtQueueRecords(const RtQueue& queue) { return queue.Records(); }
LONG RtQueuePointer(const RtQueue& queue) { return queue.Pointer(); }

}  // namespace qx

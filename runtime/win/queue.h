// The runtime's queue: an ordered list of entries in memory, each entry a copy of the
// queue's fields. The fields are program variables (the entry buffer): a queue is declared
// over them, and every operation copies between the buffer and one entry. A list control
// shows a queue's entries as its rows (the queue is the list's USE variable).
//
//   LONG id; STRING<20> name;
//   RtQueue people({{"ID", id}, {"NAME", name}});
//   id = 7; name = "Ann"; RtQueueAdd(people);      // appended as the last entry
//   RtQueueAdd(people, 1);                         // the buffer inserted as entry 1
//   RtQueueGet(people, 2);                         // entry 2 into the buffer
//   RtQueueDelete(people);                         // deletes entry 2, the one last read
//
// Entries are numbered from 1. Operations that can fail set the thread's error code
// (runtime/sys/error_state.h) and return it: 0, or kEntryNotFound (30) when the entry
// number names no entry. The others clear it.
//
// Changing a queue does not redraw the list that shows it: the list shows the change the
// next time its window is drawn (RtDisplay, or any change of the window or its controls).
//
// Threads: the queue is the program's, changed only by the program thread that owns it
// (under the runtime lock), but a view may read its entries at any time: every operation
// and every read takes the queue's own mutex, which is never held while waiting for
// anything else. The queue must outlive every window whose list shows it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "runtime/win/use_variable.h"

#include "runtime/sys/error_state.h"  // kEntryNotFound: an entry number that names no entry

namespace qx {

struct QueueField {
  std::string name;      // the queue's own field name ("BRW1::STD:NAME")
  UseVariable variable;  // its part of the entry buffer
};

// One field of one entry as a list reads it.
struct QueueValue {
  bool numeric = false;
  double number = 0;     // numeric fields
  std::string text;      // text fields with every byte (a STRING keeps its blanks)
};

class RtQueue {
 public:
  // Declares the fields, in order. Fields of type kNone or kQueue are ignored.
  RtQueue(std::initializer_list<QueueField> fields);
  explicit RtQueue(std::vector<QueueField> fields);
  RtQueue(const RtQueue&) = delete;
  RtQueue& operator=(const RtQueue&) = delete;

  // The declared fields, in order.
  const std::vector<QueueField>& fields() const { return fields_; }
  // The field's number (0-based) by name, without regard to case; -1 when none.
  int FieldIndex(std::string_view name) const;

  // Thread-safe reads, for the list and the views.
  LONG Records() const;
  // Field `field` (0-based) of entry `number` (1-based); an empty value when out of range.
  QueueValue Value(LONG number, size_t field) const;
  // Grows with every change of the entries.
  std::uint64_t revision() const;

  // The program's operations; see the functions below.
  LONG Get(LONG number);
  void Add();
  LONG Add(LONG position);
  LONG Put();
  LONG Delete();
  void Free();
  void Release();
  LONG Pointer() const;

 private:
  struct Entry {
    std::string bytes;               // the fixed-size fields, back to back
    std::vector<std::string> texts;  // the std::string fields, in order
  };
  Entry FromBuffer() const;
  void ToBuffer(const Entry& e);

  std::vector<QueueField> fields_;
  std::vector<size_t> offsets_;  // per field: byte offset, or index into texts for std::string
  size_t bytes_ = 0;
  size_t texts_ = 0;

  mutable std::mutex mu_;
  std::vector<Entry> entries_;
  LONG pointer_ = 0;  // the entry last read, written or added; 0 = none
  std::uint64_t revision_ = 0;
};

// Entry `number` into the entry buffer; it becomes the entry last read. kEntryNotFound,
// with the buffer unchanged, when there is no such entry.
LONG RtQueueGet(RtQueue& queue, LONG number);
// The entry buffer appended as the last entry, which becomes the entry last read.
void RtQueueAdd(RtQueue& queue);
// The entry buffer inserted as entry `position` (1 to RtQueueRecords + 1); the entries from
// there on move down by one. kEntryNotFound, with nothing added, for any other position.
LONG RtQueueAdd(RtQueue& queue, LONG position);
// The entry buffer written over the entry last read. kEntryNotFound when there is none.
LONG RtQueuePut(RtQueue& queue);
// Deletes the entry last read (or added); the entries after it move up, and no entry
// counts as last read. kEntryNotFound when there is none.
LONG RtQueueDelete(RtQueue& queue);
// Deletes every entry; the buffer is unchanged.
void RtQueueFree(RtQueue& queue);
// Deletes every entry and gives their memory back; the queue stays usable.
void RtQueueRelease(RtQueue& queue);
// The number of entries.
LONG RtQueueRecords(const RtQueue& queue);
// The number of the entry last read, written or added; 0 when none.
LONG RtQueuePointer(const RtQueue& queue);

}  // namespace qx

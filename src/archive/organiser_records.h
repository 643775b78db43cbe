#ifndef VESSORY_ARCHIVE_ORGANISER_RECORDS_H_
#define VESSORY_ARCHIVE_ORGANISER_RECORDS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/event_record.h"

namespace vessory::archive {

// The records of the address book, the to-do list and the memo pad, as the writers take them.
// They do not know their container: the desktop archive reader and the handheld database reader
// both fill them. Text is held as the container's bytes (windows-1252 on most machines); the
// writers convert it. Every field a container does not carry keeps its default.

// The kinds of organiser data, one per application.
enum class RecordKind { kDatebook, kAddress, kTodo, kMemo };

// What every record of the three kinds carries besides its own fields.
struct RecordBasics {
  // The handheld's unique id of the record.
  std::int64_t recordId = 0;
  // Deleted on the desktop (status bit 0x04) or deleted or archived on the handheld: left out
  // of an export of the live data unless the user asks for it.
  bool deleted = false;
  bool isPrivate = false;
  // The category's index; 0 is Unfiled. Names come from the container's category list.
  std::int64_t category = 0;
};

// A day of the calendar, with no time and no zone.
struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

struct Phone {
  // 0 Work, 1 Home, 2 Fax, 3 Other, 4 E-mail, 5 Main, 6 Pager, 7 Mobile; others as read.
  std::int64_t label = 0;
  std::string value;
};

// The classic address book's phones and custom fields; a later handheld's Contacts keeps seven
// phones and nine custom fields, so the record holds room for those.
inline constexpr int kPhoneCount = 5;
inline constexpr int kCustomFieldCount = 4;
inline constexpr int kMaxPhoneCount = 7;
inline constexpr int kMaxCustomFieldCount = 9;

// One postal address of a later handheld's contact (its second and third), with its label code.
struct PostalAddress {
  // 0 work, 1 home, 2 other; others as read.
  std::int64_t label = 0;
  std::string street;
  std::string city;
  std::string state;
  std::string zipCode;
  std::string country;
};

// An instant-messaging name with its service's label code: 0 other, 1 AIM, 2 MSN, 3 Yahoo,
// 4 ICQ; others as read.
struct InstantMessage {
  std::int64_t label = 0;
  std::string value;
};

inline constexpr int kLaterAddressCount = 3;
inline constexpr int kInstantMessageCount = 2;

struct ContactRecord : RecordBasics {
  std::string lastName;
  std::string firstName;
  // The reading of each name, kept by Japanese handhelds after the written name; else empty.
  std::string lastNameReading;
  std::string firstNameReading;
  std::string title;
  std::string company;
  std::array<Phone, kMaxPhoneCount> phones;
  std::string address;
  std::string city;
  std::string state;
  std::string zipCode;
  std::string country;
  std::string note;
  std::array<std::string, kMaxCustomFieldCount> custom;
  // What only a later handheld's Contacts holds; the classic containers leave it empty.
  // The label of the address above (0 work, 1 home, 2 other), when the container gives one.
  std::optional<std::int64_t> addressLabel;
  std::array<PostalAddress, kLaterAddressCount - 1> moreAddresses;
  std::array<InstantMessage, kInstantMessageCount> instantMessages;
  std::string webSite;
  std::optional<CalendarDate> birthday;
  std::optional<CalendarDate> anniversary;
  // The picture, a JPEG, as its bytes; empty when there is none.
  std::string photo;
};

struct TodoRecord : RecordBasics {
  std::string description;
  std::string note;
  // When it is due, in one of two forms: a moment (the desktop's seconds since 1970 UTC, the
  // local midnight that starts the day; the writer takes the day in the user's zone and treats
  // the desktop's "no date" values as none), or the day itself (the handheld's packed date).
  // Neither: no due date.
  std::optional<std::int64_t> dueMoment;
  std::optional<CalendarDate> dueDate;
  bool completed = false;
  // 1 (highest) to 5 on the handheld; other values are kept as read.
  std::int64_t priority = 0;
  // What only a later handheld's Tasks holds; the classic containers leave it empty.
  std::optional<CalendarDate> completionDate;
  // An alarm at a time of day, a number of days before the due day.
  struct Alarm {
    int hour = 0;
    int minute = 0;
    std::int64_t daysBefore = 0;
  };
  std::optional<Alarm> alarm;
  // A repeating task: the first day of the repeat and the rule (the date book's repeat block).
  std::optional<CalendarDate> repeatStart;
  RepeatEvent repeat;
  // The next time is counted from the day the task is completed, not from the due day.
  bool repeatsAfterCompletion = false;
};

struct MemoRecord : RecordBasics {
  // The whole memo; its first non-blank line is its title.
  std::string text;
};

// What a container says about all of its records.
struct OrganiserCatalogue {
  RecordKind kind = RecordKind::kAddress;
  // The categories as (index, name) pairs in the container's order; names as the bytes read.
  std::vector<std::pair<std::int64_t, std::string>> categories;
  // The address book's custom field labels where the container holds them (the handheld
  // databases do: four, nine in a later Contacts); empty labels are shown as "Custom N".
  std::array<std::string, kMaxCustomFieldCount> customLabels;
  // Eight hex digits that tell this container's records from another's in UIDs.
  std::string identity;

  // The name of category `index`, or null for Unfiled, an index the container lacks, or an
  // empty name.
  const std::string* categoryName(std::int64_t index) const {
    if (index == 0) return nullptr;
    for (const auto& [i, name] : categories) {
      if (i == index) return name.empty() ? nullptr : &name;
    }
    return nullptr;
  }
};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ORGANISER_RECORDS_H_

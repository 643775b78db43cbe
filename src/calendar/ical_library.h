#ifndef VESSORY_CALENDAR_ICAL_LIBRARY_H_
#define VESSORY_CALENDAR_ICAL_LIBRARY_H_

#include <libical/ical.h>

#include <string>

namespace vessory::calendar {

// Every function of libical the calendar writer calls.
#define VESSORY_ICAL_FUNCTIONS(X)      \
  X(icalcomponent_add_component)       \
  X(icalcomponent_add_property)        \
  X(icalcomponent_as_ical_string_r)    \
  X(icalcomponent_free)                \
  X(icalcomponent_get_first_component) \
  X(icalcomponent_get_first_property)  \
  X(icalcomponent_get_next_component)  \
  X(icalcomponent_get_next_property)   \
  X(icalcomponent_isa)                 \
  X(icalcomponent_kind_to_string)      \
  X(icalcomponent_new_valarm)          \
  X(icalcomponent_new_vcalendar)       \
  X(icalcomponent_new_vevent)          \
  X(icalcomponent_new_vtimezone)       \
  X(icalcomponent_new_vtodo)           \
  X(icalcomponent_new_xdaylight)       \
  X(icalcomponent_new_xstandard)       \
  X(icaldurationtype_null_duration)    \
  X(icalparameter_as_ical_string_r)    \
  X(icalparameter_isa)                 \
  X(icalparameter_new_cn)              \
  X(icalparameter_new_related)         \
  X(icalparameter_new_role)            \
  X(icalparameter_new_tzid)            \
  X(icalperiodtype_null_period)        \
  X(icalproperty_add_parameter)        \
  X(icalproperty_as_ical_string_r)     \
  X(icalproperty_get_first_parameter)  \
  X(icalproperty_get_next_parameter)   \
  X(icalproperty_get_value)            \
  X(icalproperty_isa)                  \
  X(icalproperty_new_action)           \
  X(icalproperty_new_attendee)         \
  X(icalproperty_new_calscale)         \
  X(icalproperty_new_categories)       \
  X(icalproperty_new_class)            \
  X(icalproperty_new_completed)        \
  X(icalproperty_new_description)      \
  X(icalproperty_new_dtend)            \
  X(icalproperty_new_dtstamp)          \
  X(icalproperty_new_dtstart)          \
  X(icalproperty_new_due)              \
  X(icalproperty_new_exdate)           \
  X(icalproperty_new_location)         \
  X(icalproperty_new_method)           \
  X(icalproperty_new_organizer)        \
  X(icalproperty_new_percentcomplete)  \
  X(icalproperty_new_priority)         \
  X(icalproperty_new_prodid)           \
  X(icalproperty_new_rdate)            \
  X(icalproperty_new_rrule)            \
  X(icalproperty_new_status)           \
  X(icalproperty_new_summary)          \
  X(icalproperty_new_transp)           \
  X(icalproperty_new_trigger)          \
  X(icalproperty_new_tzid)             \
  X(icalproperty_new_tzoffsetfrom)     \
  X(icalproperty_new_tzoffsetto)       \
  X(icalproperty_new_uid)              \
  X(icalproperty_new_version)          \
  X(icalrecurrencetype_clear)          \
  X(icaltime_adjust)                   \
  X(icaltime_compare)                  \
  X(icaltime_from_timet_with_zone)     \
  X(icaltime_is_null_time)             \
  X(icaltime_is_utc)                   \
  X(icaltime_null_date)                \
  X(icaltime_null_time)                \
  X(icaltimezone_convert_time)         \
  X(icaltimezone_get_builtin_timezone) \
  X(icaltimezone_get_utc_timezone)     \
  X(icalvalue_as_ical_string_r)        \
  X(icalvalue_get_date)                \
  X(icalvalue_get_datetime)            \
  X(icalvalue_get_integer)             \
  X(icalvalue_get_text)                \
  X(icalvalue_isa)

// libical's functions, reached through a table filled when a calendar is first written rather
// than when the program starts. Loading libical brings the Unicode libraries it depends on, and
// their relocations alone cost a journal export, which never writes a calendar, about a fifth of
// its time on a ten-megabyte date book. Where libical is linked in (the Windows build) the table
// holds its functions directly.
//
// The table lives as long as the process; it is filled once, the first time it is asked for,
// and safe to ask for from several threads. Precondition of ical(): icalProblem() is empty, which
// ZoneClock::open makes sure of for every run (a calendar is never written without a clock).
struct IcalFunctions {
#define VESSORY_ICAL_POINTER(name) decltype(&::name) name = nullptr;
  VESSORY_ICAL_FUNCTIONS(VESSORY_ICAL_POINTER)
#undef VESSORY_ICAL_POINTER
};

// Empty once libical's functions can be called; else why they cannot ("The calendar library
// libical.so.3 cannot be loaded: ...").
const std::string& icalProblem();
// The table; ends the program when libical could not be loaded, which icalProblem() tells first.
const IcalFunctions& ical();
// What icalProblem() would say if the library were `library` (a file name for the dynamic
// loader) instead of the one the program was built with. Empty where libical is linked in.
std::string icalProblemWith(const std::string& library);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_ICAL_LIBRARY_H_

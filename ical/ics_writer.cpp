#include "ical/ics_writer.h"

#include <libical/ical.h>

#include <cstdlib>

#include "calendar/calendar_math.h"

namespace ical {
namespace {

icaltimetype DateValue(const DayDate& date) {
  icaltimetype time = icaltime_null_date();
  time.year = date.year;
  time.month = date.month;
  time.day = date.day;
  return time;
}

DayDate NextDay(DayDate date) {
  if (++date.day > calendar::MonthLength(date.year, date.month)) {
    date.day = 1;
    if (++date.month > 12) {
      date.month = 1;
      ++date.year;
    }
  }
  return date;
}

icalproperty* XProperty(const char* name, const std::string& value) {
  icalproperty* property = icalproperty_new_x(value.c_str());
  icalproperty_set_x_name(property, name);
  return property;
}

}  // namespace

struct IcsWriter::Calendar {
  icalcomponent* root = nullptr;
  ~Calendar() {
    if (root) icalcomponent_free(root);
  }
};

IcsWriter::IcsWriter(std::string_view name, std::time_t stamp)
    : calendar_(std::make_unique<Calendar>()), stamp_(stamp) {
  icalcomponent* root = icalcomponent_new_vcalendar();
  calendar_->root = root;
  icalcomponent_add_property(root, icalproperty_new_prodid("-//Mirune//Mirune 2.0//JA"));
  icalcomponent_add_property(root, icalproperty_new_version("2.0"));
  icalcomponent_add_property(root, icalproperty_new_calscale("GREGORIAN"));
  icalcomponent_add_property(root, XProperty("X-WR-CALNAME", std::string(name)));
}

IcsWriter::~IcsWriter() = default;

void IcsWriter::AddDay(const DayDate& date, const DayEventFields& fields, const std::string& uid) {
  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                        stamp_, 0, icaltimezone_get_utc_timezone())));
  icalcomponent_add_property(event, icalproperty_new_dtstart(DateValue(date)));
  icalcomponent_add_property(event, icalproperty_new_dtend(DateValue(NextDay(date))));
  icalcomponent_add_property(event, icalproperty_new_summary(fields.summary.c_str()));
  if (!fields.description.empty()) {
    icalcomponent_add_property(event, icalproperty_new_description(fields.description.c_str()));
  }
  if (fields.colour) {
    icalcomponent_add_property(event, icalproperty_new_color(ColourName(*fields.colour)));
    icalcomponent_add_property(event,
                               XProperty(kColourCodeProperty, std::to_string(*fields.colour)));
  }
  icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  if (!fields.exact_base64.empty()) {
    icalcomponent_add_property(event, XProperty(kExactBytesProperty, fields.exact_base64));
  }
  icalcomponent_add_component(calendar_->root, event);
  ++events_;
}

void IcsWriter::AddAllDay(const DayDate& date, std::string_view summary, const std::string& uid,
                          std::string_view category, bool transparent) {
  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                        stamp_, 0, icaltimezone_get_utc_timezone())));
  icalcomponent_add_property(event, icalproperty_new_dtstart(DateValue(date)));
  icalcomponent_add_property(event, icalproperty_new_dtend(DateValue(NextDay(date))));
  icalcomponent_add_property(event, icalproperty_new_summary(std::string(summary).c_str()));
  if (!category.empty()) {
    icalcomponent_add_property(event, icalproperty_new_categories(std::string(category).c_str()));
  }
  icalcomponent_add_property(
      event, icalproperty_new_transp(transparent ? ICAL_TRANSP_TRANSPARENT : ICAL_TRANSP_OPAQUE));
  icalcomponent_add_component(calendar_->root, event);
  ++events_;
}

std::string IcsWriter::Text() const {
  char* text = icalcomponent_as_ical_string_r(calendar_->root);
  std::string out = text ? text : "";
  std::free(text);
  return out;
}

}  // namespace ical

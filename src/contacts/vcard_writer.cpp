#include "contacts/vcard_writer.h"

#include <cstdio>

#include "archive/record_text.h"
#include "contacts/vcard_format.h"
#include "contacts/vcard_lines.h"

namespace vessory::contacts {

namespace {

constexpr std::string_view kBlanks{" \t\n"};
constexpr std::string_view kNoteCustomBreak{"\n\n"};  // a blank line between note and fields
constexpr std::string_view kNameTail{";;;"};          // no additional names, prefix or suffix

const std::string kNoText;

void trimBlanks(std::string& text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(kBlanks) + 1);
  text.erase(0, start);
}

}  // namespace

VCardWriter::VCardWriter(const archive::OrganiserCatalogue& catalogue,
                         archive::TextConverter& converter)
    : catalogue_(catalogue), converter_(converter), uids_(kUidKind, catalogue.identity) {}

void VCardWriter::append(const archive::ContactRecord& record, std::string& out) {
  convertFields(record);
  appendFolded(kBeginCard, out);
  appendFolded(kVersion, out);
  appendNames(out);
  appendPhones(record, out);
  appendAddress(record, out);
  appendOnline(record, out);
  appendDate(kBirthdayHead, record.birthday, out);
  appendDate(kAnniversaryHead, record.anniversary, out);
  appendNote(record, out);
  appendFiling(record, out);
  appendFolded(kEndCard, out);
}

void VCardWriter::convertFields(const archive::ContactRecord& record) {
  const std::array<const std::string*, kFirstPhone> plain{
      &record.lastName, &record.firstName, &record.lastNameReading, &record.firstNameReading,
      &record.title,    &record.company,   &record.address,         &record.city,
      &record.state,    &record.zipCode,   &record.country,         &record.note};
  for (std::size_t i = 0; i < plain.size(); ++i) {
    text_[i].clear();
    archive::appendRecordText(*plain[i], converter_, text_[i]);
  }
  auto convert = [&](int field, const std::string& raw) {
    text_[field].clear();
    archive::appendRecordText(raw, converter_, text_[field]);
  };
  for (int i = 0; i < archive::kMaxPhoneCount; ++i) convert(kFirstPhone + i, record.phones[i].value);
  for (int i = 0; i < archive::kMaxCustomFieldCount; ++i) convert(kFirstCustom + i, record.custom[i]);
  for (std::size_t a = 0; a < record.moreAddresses.size(); ++a) {
    const archive::PostalAddress& more = record.moreAddresses[a];
    const int first = kFirstMoreAddress + static_cast<int>(a) * kAddressParts;
    const std::array<const std::string*, kAddressParts> parts{
        &more.street, &more.city, &more.state, &more.zipCode, &more.country};
    for (int p = 0; p < kAddressParts; ++p) convert(first + p, *parts[p]);
  }
  for (int i = 0; i < archive::kInstantMessageCount; ++i) {
    convert(kFirstInstantMessage + i, record.instantMessages[i].value);
  }
  convert(kWebSite, record.webSite);
}

void VCardWriter::appendNames(std::string& out) {
  line_.assign(kNameHead);
  appendEscaped(text_[kLastName], line_);
  line_ += ';';
  appendEscaped(text_[kFirstName], line_);
  line_.append(kNameTail);
  appendFolded(line_, out);
  appendTextLine(kFullNameHead, fullName(), out);
  appendTextLine(kOrganisationHead, text_[kCompany], out);
  appendTextLine(kTitleHead, text_[kTitle], out);
  const std::string& lastReading = text_[kLastNameReading];
  const std::string& firstReading = text_[kFirstNameReading];
  value_.assign(lastReading);
  if (!lastReading.empty() && !firstReading.empty()) value_ += ' ';
  value_.append(firstReading);
  appendTextLine(kSortStringHead, value_, out);
}

std::string_view VCardWriter::fullName() {
  const std::string& first = text_[kFirstName];
  const std::string& last = text_[kLastName];
  if (!first.empty() && !last.empty()) {
    value_.assign(first);
    value_ += ' ';
    value_.append(last);
    return value_;
  }
  if (!first.empty()) return first;
  if (!last.empty()) return last;
  if (!text_[kCompany].empty()) return text_[kCompany];
  for (int i = 0; i < archive::kMaxPhoneCount; ++i) {
    if (!text_[kFirstPhone + i].empty()) return text_[kFirstPhone + i];
  }
  return kUnnamed;
}

void VCardWriter::appendPhones(const archive::ContactRecord& record, std::string& out) {
  for (int i = 0; i < archive::kMaxPhoneCount; ++i) {
    appendTextLine(phoneHead(record.phones[i].label), text_[kFirstPhone + i], out);
  }
}

void VCardWriter::appendAddress(const archive::ContactRecord& record, std::string& out) {
  appendAddressLine(record.addressLabel, kAddress, out);
  for (std::size_t a = 0; a < record.moreAddresses.size(); ++a) {
    appendAddressLine(record.moreAddresses[a].label,
                      kFirstMoreAddress + static_cast<int>(a) * kAddressParts, out);
  }
}

// The five parts from `firstField` on; typed when the container gives a label.
void VCardWriter::appendAddressLine(std::optional<std::int64_t> label, int firstField,
                                    std::string& out) {
  bool any = false;
  for (int f = firstField; f < firstField + kAddressParts; ++f) any = any || !text_[f].empty();
  if (!any) return;
  line_.assign(label == 0 ? kWorkAddressHead : label == 1 ? kHomeAddressHead : kAddressHead);
  for (int f = firstField; f < firstField + kAddressParts; ++f) {
    if (f != firstField) line_ += ';';
    appendEscaped(text_[f], line_);
  }
  appendFolded(line_, out);
}

void VCardWriter::appendOnline(const archive::ContactRecord& record, std::string& out) {
  appendTextLine(kUrlHead, text_[kWebSite], out);
  for (int i = 0; i < archive::kInstantMessageCount; ++i) {
    const std::int64_t label = record.instantMessages[i].label;
    if (label <= 0 || label >= static_cast<std::int64_t>(kInstantMessageHeads.size())) continue;
    appendTextLine(kInstantMessageHeads[static_cast<std::size_t>(label)],
                   text_[kFirstInstantMessage + i], out);
  }
  if (record.photo.empty()) return;
  line_.assign(kPhotoHead);
  appendBase64(record.photo, line_);
  appendFolded(line_, out);
}

void VCardWriter::appendDate(std::string_view head,
                             const std::optional<archive::CalendarDate>& date, std::string& out) {
  if (!date) return;
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date->year, date->month, date->day);
  line_.assign(head);
  line_.append(text);
  appendFolded(line_, out);
}

void VCardWriter::appendNote(const archive::ContactRecord& record, std::string& out) {
  value_.assign(text_[kNote]);
  bool firstField = true;
  auto startLine = [&] {
    if (!firstField) {
      value_ += '\n';
    } else if (!value_.empty()) {
      value_.append(kNoteCustomBreak);
    }
    firstField = false;
  };
  for (int i = 0; i < archive::kMaxCustomFieldCount; ++i) {
    const std::string& field = text_[kFirstCustom + i];
    if (field.empty()) continue;
    startLine();
    value_.append(customLabel(i));
    value_.append(kCustomLabelSeparator);
    value_.append(field);
  }
  // Services without a property of their own.
  for (int i = 0; i < archive::kInstantMessageCount; ++i) {
    const std::int64_t label = record.instantMessages[i].label;
    const std::string& name = text_[kFirstInstantMessage + i];
    if (name.empty() || (label > 0 && label < static_cast<std::int64_t>(kInstantMessageHeads.size()))) {
      continue;
    }
    startLine();
    value_.append(kOtherInstantMessageLabel);
    value_.append(name);
  }
  appendTextLine(kNoteHead, value_, out);
}

void VCardWriter::appendFiling(const archive::ContactRecord& record, std::string& out) {
  appendTextLine(kCategoriesHead, categoryName(record.category), out);
  if (record.isPrivate) appendFolded(kPrivateLine, out);
  line_.assign(kUidHead);
  appendEscaped(uids_.next(record.recordId), line_);
  appendFolded(line_, out);
}

const std::string& VCardWriter::customLabel(int field) {
  std::optional<std::string>& label = customLabels_[field];
  if (!label) {
    label.emplace();
    archive::appendRecordText(catalogue_.customLabels[field], converter_, *label);
    trimBlanks(*label);
    if (label->empty()) {
      label->assign(kCustomLabelStem);
      label->append(std::to_string(field + 1));
    }
  }
  return *label;
}

const std::string& VCardWriter::categoryName(std::int64_t index) {
  for (const auto& [known, name] : categoryNames_) {
    if (known == index) return name;
  }
  // Only the catalogue's own categories are kept, so damaged indexes cannot grow the list.
  const std::string* raw = catalogue_.categoryName(index);
  if (raw == nullptr) return kNoText;
  categoryNames_.emplace_back(index, std::string());
  archive::appendRecordText(*raw, converter_, categoryNames_.back().second);
  return categoryNames_.back().second;
}

void VCardWriter::appendTextLine(std::string_view head, std::string_view value, std::string& out) {
  if (value.empty()) return;
  line_.assign(head);
  appendEscaped(value, line_);
  appendFolded(line_, out);
}

void appendVCard(const archive::ContactRecord& record, const archive::OrganiserCatalogue& catalogue,
                 archive::TextConverter& converter, std::string& out) {
  VCardWriter(catalogue, converter).append(record, out);
}

}  // namespace vessory::contacts

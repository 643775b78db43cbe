#include "contacts/vcard_writer.h"

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
  appendAddress(out);
  appendNote(out);
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
  for (int i = 0; i < archive::kPhoneCount; ++i) {
    std::string& text = text_[kFirstPhone + i];
    text.clear();
    archive::appendRecordText(record.phones[i].value, converter_, text);
  }
  for (int i = 0; i < archive::kCustomFieldCount; ++i) {
    std::string& text = text_[kFirstCustom + i];
    text.clear();
    archive::appendRecordText(record.custom[i], converter_, text);
  }
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
  for (int i = 0; i < archive::kPhoneCount; ++i) {
    if (!text_[kFirstPhone + i].empty()) return text_[kFirstPhone + i];
  }
  return kUnnamed;
}

void VCardWriter::appendPhones(const archive::ContactRecord& record, std::string& out) {
  for (int i = 0; i < archive::kPhoneCount; ++i) {
    appendTextLine(phoneHead(record.phones[i].label), text_[kFirstPhone + i], out);
  }
}

void VCardWriter::appendAddress(std::string& out) {
  bool any = false;
  for (int f = kAddress; f <= kCountry; ++f) any = any || !text_[f].empty();
  if (!any) return;
  line_.assign(kAddressHead);
  for (int f = kAddress; f <= kCountry; ++f) {
    if (f != kAddress) line_ += ';';
    appendEscaped(text_[f], line_);
  }
  appendFolded(line_, out);
}

void VCardWriter::appendNote(std::string& out) {
  value_.assign(text_[kNote]);
  bool firstField = true;
  for (int i = 0; i < archive::kCustomFieldCount; ++i) {
    const std::string& field = text_[kFirstCustom + i];
    if (field.empty()) continue;
    if (!firstField) {
      value_ += '\n';
    } else if (!value_.empty()) {
      value_.append(kNoteCustomBreak);
    }
    firstField = false;
    value_.append(customLabel(i));
    value_.append(kCustomLabelSeparator);
    value_.append(field);
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

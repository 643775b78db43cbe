#include "support/organiser_builder.h"

#include <string_view>

namespace vessory::testing {

namespace {

// Written out here rather than taken from the reader's tables, so that a slip in either shows.
constexpr std::uint32_t kInteger = 1;
constexpr std::uint32_t kDate = 3;
constexpr std::uint32_t kText = 5;
constexpr std::uint32_t kBoolean = 6;

const std::vector<std::uint16_t> kAddressTypes = {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                                  1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};
const std::vector<std::uint16_t> kTodoTypes = {1, 1, 1, 5, 3, 6, 1, 6, 1, 5};
const std::vector<std::uint16_t> kMemoTypes = {1, 1, 1, 5, 6, 1};

// One field before it is written: a number, or a string when `text` is set.
struct Field {
  std::uint32_t type;
  std::uint32_t value = 0;
  const std::string* text = nullptr;
};

struct KindLayout {
  std::string_view tag;
  std::string_view fileName;
  const std::vector<std::uint16_t>& types;
};

const KindLayout kAddress{std::string_view("\x00\x01"
                                           "BA",
                                           4),
                          "C:\\Palm\\User\\address\\address.dat", kAddressTypes};
const KindLayout kTodo{std::string_view("\x00\x01"
                                        "DT",
                                        4),
                       "C:\\Palm\\User\\todo\\todo.dat", kTodoTypes};
const KindLayout kMemo{std::string_view("\x00\x01"
                                        "PM",
                                        4),
                       "C:\\Palm\\User\\memopad\\memopad.dat", kMemoTypes};

void writeHeader(ArchiveBuilder& out, const KindLayout& kind, const OrganiserArchivePlan& plan,
                 std::size_t records) {
  if (plan.wrapped) {
    out.raw(std::string_view("\xBE\xBA\xFE\xCA", 4)).cstring(plan.wrapperName);
    out.raw(plan.wrapperRevision);
  }
  out.raw(plan.tag ? std::string_view(*plan.tag) : kind.tag);
  out.cstring(plan.fileName.empty() ? kind.fileName : std::string_view(plan.fileName));
  out.cstring(plan.tableString);
  out.integer(4, plan.nextFreeCategoryId);
  out.integer(4, plan.categoryCount.value_or(static_cast<std::uint32_t>(plan.categories.size())));
  for (const CategoryPlan& category : plan.categories) {
    out.integer(4, category.index).integer(4, category.id).integer(4, category.nameDirty);
    out.cstring(category.longName).cstring(category.shortName);
  }
  const std::vector<std::uint16_t>& types = plan.fieldTypes ? *plan.fieldTypes : kind.types;
  const auto perRow = static_cast<std::uint32_t>(kind.types.size());
  out.integer(4, plan.resourceId).integer(4, plan.fieldsPerRow.value_or(perRow));
  for (std::uint32_t position : plan.positions) out.integer(4, position);
  out.integer(2, plan.fieldCount.value_or(static_cast<std::uint16_t>(types.size())));
  for (std::uint16_t type : types) out.integer(2, type);
  out.integer(4, plan.entryCount.value_or(static_cast<std::uint32_t>(records) * perRow));
}

void writeRecord(ArchiveBuilder& out, const std::vector<Field>& fields, const FieldFaults& faults) {
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const int column = static_cast<int>(k);
    const Field& field = fields[k];
    auto type = faults.typeCodes.find(column);
    out.integer(4, type == faults.typeCodes.end() ? field.type : type->second);
    if (auto raw = faults.rawValues.find(column); raw != faults.rawValues.end()) {
      out.raw(raw->second);
    } else if (field.text != nullptr) {
      auto zero = faults.zeroWords.find(column);
      out.integer(4, zero == faults.zeroWords.end() ? 0 : zero->second);
      out.cstring(*field.text);
    } else {
      out.integer(4, field.value);
    }
  }
}

void basics(std::vector<Field>& fields, const OrganiserRecordPlan& record) {
  fields.clear();
  fields.push_back({kInteger, record.recordId});
  fields.push_back({kInteger, record.status});
  fields.push_back({kInteger, record.placement});
}

template <typename Plan, typename Fill>
std::string build(const KindLayout& kind, const OrganiserArchivePlan& archive,
                  const std::vector<Plan>& records, Fill fill) {
  ArchiveBuilder out;
  writeHeader(out, kind, archive, records.size());
  std::vector<Field> fields;
  for (const Plan& record : records) {
    basics(fields, record);
    fill(fields, record);
    writeRecord(out, fields, record.faults);
  }
  out.raw(archive.trailing);
  return out.bytes();
}

}  // namespace

std::string buildAddressArchive(const OrganiserArchivePlan& archive,
                                const std::vector<ContactPlan>& records) {
  return build(kAddress, archive, records, [](std::vector<Field>& f, const ContactPlan& r) {
    for (const std::string* text : {&r.lastName, &r.firstName, &r.title, &r.company}) {
      f.push_back({kText, 0, text});
    }
    for (const auto& [label, number] : r.phones) {
      f.push_back({kInteger, label});
      f.push_back({kText, 0, &number});
    }
    for (const std::string* text :
         {&r.address, &r.city, &r.state, &r.zipCode, &r.country, &r.note}) {
      f.push_back({kText, 0, text});
    }
    f.push_back({kBoolean, r.isPrivate});
    f.push_back({kInteger, r.category});
    for (const std::string& text : r.custom) f.push_back({kText, 0, &text});
    f.push_back({kInteger, r.displayedPhone});
  });
}

std::string buildTodoArchive(const OrganiserArchivePlan& archive,
                             const std::vector<TodoPlan>& records) {
  return build(kTodo, archive, records, [](std::vector<Field>& f, const TodoPlan& r) {
    f.push_back({kText, 0, &r.description});
    f.push_back({kDate, r.dueDate});
    f.push_back({kBoolean, r.completed});
    f.push_back({kInteger, r.priority});
    f.push_back({kBoolean, r.isPrivate});
    f.push_back({kInteger, r.category});
    f.push_back({kText, 0, &r.note});
  });
}

std::string buildMemoArchive(const OrganiserArchivePlan& archive,
                             const std::vector<MemoPlan>& records) {
  return build(kMemo, archive, records, [](std::vector<Field>& f, const MemoPlan& r) {
    f.push_back({kText, 0, &r.text});
    f.push_back({kBoolean, r.isPrivate});
    f.push_back({kInteger, r.category});
  });
}

}  // namespace vessory::testing

#include "organiser_archives.h"

#include <array>
#include <string_view>
#include <vector>

#include "bench_sequence.h"
#include "support/organiser_builder.h"

namespace vessory::testing {

namespace {

constexpr std::uint32_t kFirstDay = 1018137600;  // 2002-04-07 00:00 UTC

constexpr std::array<std::string_view, 12> kLastNames = {
    "Smith", "M\xFCller", "Johnson", "Garc\xED" "a", "Brown", "Hoffmann",
    "Miller", "Dupont", "Wilson", "\xD8stergaard", "Taylor", "Nakamura"};
constexpr std::array<std::string_view, 10> kFirstNames = {
    "Anna", "Tom", "Ren\xE9", "Maria", "John", "Lena", "Peter", "Zo\xEB", "Paul", "Sarah"};
constexpr std::array<std::string_view, 6> kCompanies = {
    "Acme Inc.", "Springfield Power", "Caf\xE9 Central", "Hoffmann & Sons", "City Library",
    "Lakeside Clinic"};
constexpr std::array<std::string_view, 8> kStreets = {
    "Main St", "Elm Street", "Lake Road", "Stra\xDF" "e des 17. Juni", "Oak Avenue",
    "Mill Lane", "Park Place", "Station Road"};
constexpr std::array<std::string_view, 6> kCities = {
    "Springfield", "Shelbyville", "M\xFCnchen", "Portland", "Lyon", "Bristol"};
constexpr std::array<std::string_view, 10> kTasks = {
    "Pay the phone bill", "Call the plumber", "Return library books", "Buy birthday present",
    "Renew passport",     "Book the hotel",   "Send the r\xE9sum\xE9", "Water the garden",
    "Back up the computer", "Write to Grandma"};
constexpr std::array<std::string_view, 8> kMemoTitles = {
    "Shopping list", "Recipe: cr\xEApes", "Meeting notes", "Books to read",
    "Gift ideas",    "Packing list",      "Car service",   "Garden plan"};
constexpr std::array<std::string_view, 8> kMemoLines = {
    "2 litres of milk, bread, eggs and butter",
    "Ask about the warranty before paying",
    "Flour 250 g, sugar 2 tbsp, a pinch of salt, 3 eggs, 500 ml milk",
    "Agreed: the report goes out on Friday, figures by Wednesday",
    "Call back after 6 pm, not on weekends",
    "Chapter 12 of the novel, then the one about the canoe trip",
    "Don't forget the charger and the umbrella",
    "Tomatoes along the fence, beans by the shed"};

std::string pick(Sequence& random, const auto& list) {
  return std::string(list[random.next(static_cast<std::uint32_t>(list.size()))]);
}

std::string phoneNumber(Sequence& random) {
  return "(555) " + std::to_string(100 + random.next(900)) + "-" +
         std::to_string(1000 + random.next(9000));
}

ContactPlan contact(Sequence& random, std::uint32_t id) {
  ContactPlan c;
  c.recordId = id;
  c.category = random.next(4);
  c.isPrivate = random.next(10) == 0 ? 1 : 0;
  c.lastName = pick(random, kLastNames);
  c.firstName = pick(random, kFirstNames);
  if (random.next(5) == 0) c.title = random.next(2) ? "Dr." : "Manager";
  if (random.next(3) == 0) c.company = pick(random, kCompanies);
  const std::uint32_t numbers = 2 + random.next(3);
  for (std::uint32_t k = 0; k < numbers; ++k) {
    std::uint32_t label = random.next(7);  // any but 4, the e-mail label
    if (label >= 4) ++label;
    c.phones[k] = {label, phoneNumber(random)};
  }
  if (random.next(3) == 0) c.phones[4] = {4, "name" + std::to_string(id) + "@example.com"};
  if (random.next(2) == 0) {
    c.address = std::to_string(1 + random.next(200)) + " " + pick(random, kStreets);
    if (random.next(5) == 0) c.address += "\r\nApt " + std::to_string(1 + random.next(40));
    c.city = pick(random, kCities);
    c.state = random.next(2) ? "IL" : "OR";
    c.zipCode = std::to_string(10000 + random.next(89999));
    if (random.next(4) == 0) c.country = "USA";
  }
  if (random.next(6) == 0) c.note = "Met at the conference.\r\nPrefers e-mail.";
  if (random.next(10) == 0) c.custom[0] = "Birthday " + std::to_string(1 + random.next(28)) + "/5";
  c.displayedPhone = random.next(numbers);
  return c;
}

TodoPlan todo(Sequence& random, std::uint32_t id) {
  TodoPlan t;
  t.recordId = id;
  t.category = random.next(3);
  t.isPrivate = random.next(10) == 0 ? 1 : 0;
  t.description = pick(random, kTasks);
  if (random.next(2) == 0) t.dueDate = kFirstDay + random.next(3000) * 86400;
  t.completed = random.next(3) == 0 ? 1 : 0;
  t.priority = 1 + random.next(5);
  if (random.next(4) == 0) t.note = "Ask Anna first.\r\nThe number is in the address book.";
  return t;
}

MemoPlan memo(Sequence& random, std::uint32_t id, bool titledAlike) {
  MemoPlan m;
  m.recordId = id;
  m.category = titledAlike ? 0 : random.next(4);
  m.isPrivate = random.next(10) == 0 ? 1 : 0;
  m.text = titledAlike ? std::string(kMemoTitles[0]) : pick(random, kMemoTitles) + " " +
                                                           std::to_string(id);
  const std::uint32_t lines = 1 + random.next(7);
  for (std::uint32_t k = 0; k < lines; ++k) m.text += "\r\n" + pick(random, kMemoLines);
  return m;
}

OrganiserArchivePlan withCategories(std::vector<std::string_view> names) {
  OrganiserArchivePlan plan;
  std::uint32_t index = 1;
  for (std::string_view name : names) {
    plan.categories.push_back({index, index, 0, std::string(name), std::string(name.substr(0, 4))});
    ++index;
  }
  return plan;
}

}  // namespace

std::string benchmarkAddressArchive(std::uint32_t records) {
  Sequence random;
  std::vector<ContactPlan> contacts;
  contacts.reserve(records);
  for (std::uint32_t i = 0; i < records; ++i) contacts.push_back(contact(random, i + 1));
  return buildAddressArchive(withCategories({"Business", "Personal", "QuickList"}), contacts);
}

std::string benchmarkTodoArchive(std::uint32_t records) {
  Sequence random;
  std::vector<TodoPlan> todos;
  todos.reserve(records);
  for (std::uint32_t i = 0; i < records; ++i) todos.push_back(todo(random, i + 1));
  return buildTodoArchive(withCategories({"Business", "Personal"}), todos);
}

std::string benchmarkMemoArchive(std::uint32_t records, bool sharedTitle) {
  Sequence random;
  std::vector<MemoPlan> memos;
  memos.reserve(records);
  for (std::uint32_t i = 0; i < records; ++i) {
    memos.push_back(memo(random, i + 1, sharedTitle && i % 2 == 0));
  }
  return buildMemoArchive(withCategories({"Business", "Personal", "Recipes"}), memos);
}

}  // namespace vessory::testing

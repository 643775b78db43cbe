// Runs before the console tool's WebAssembly starts under Node: the program sees the
// environment Node was given (TZ above all, which names the system's zone), and libical reads
// its zone data from the folder beside this script (see src/calendar/zone_data_web.cpp).
Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function () {
  for (var name in process.env) ENV[name] = process.env[name];
});
Module["vessoryZoneFolder"] = require("path").join(__dirname, "zoneinfo");

// The JavaScript the WebAssembly build's C++ calls (linked with --js-library into every program
// of that build; declared in C++ as extern "C" functions of these names).
mergeInto(LibraryManager.library, {
  // The zone data's folder, allocated with malloc for the caller to free: beside the script of
  // the console tool for Node (node_console_pre.js sets it), else the module's own /zoneinfo.
  vessory_zone_folder__deps: ["malloc"],
  vessory_zone_folder: function () {
    var folder = Module["vessoryZoneFolder"] || "/zoneinfo";
    var size = lengthBytesUTF8(folder) + 1;
    var text = _malloc(size);
    stringToUTF8(folder, text, size);
    return text;
  },

  // Whether the real file system (NODERAWFS, the console tool for Node) lets this process write
  // `path`, as the system answers it: 0 yes, 1 EACCES, 2 EROFS, 3 EPERM, 4 ENOENT, 5 ETXTBSY,
  // 6 another reason; -1 where the file system is the module's own (emscripten answers then).
  vessory_node_write_refusal: function (path) {
    if (typeof NODERAWFS === "undefined") return -1;
    try {
      require("fs").accessSync(UTF8ToString(path), require("fs").constants.W_OK);
      return 0;
    } catch (e) {
      return { EACCES: 1, EROFS: 2, EPERM: 3, ENOENT: 4, ETXTBSY: 5 }[e.code] || 6;
    }
  },

  // The web page's progress: Module.onVessoryProgress(done, total, text) when the page set it.
  vessory_tell_page: function (done, total, text) {
    if (typeof Module["onVessoryProgress"] === "function") {
      Module["onVessoryProgress"](done, total, UTF8ToString(text));
    }
  },
});

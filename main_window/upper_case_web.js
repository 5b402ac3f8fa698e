// The browser's answers for one code point, for upper_case_web.cpp.
mergeInto(LibraryManager.library, {
  // A letter: of Unicode's general category L.
  velbrin_web_is_letter: function (point) {
    return /\p{L}/u.test(String.fromCodePoint(point)) ? 1 : 0;
  },
  // Its upper-case form where that is one code point; a letter whose form is
  // several (sharp s: "SS") has none of one, and stays as it is.
  velbrin_web_to_upper: function (point) {
    var upper = String.fromCodePoint(point).toUpperCase();
    var first = upper.codePointAt(0);
    return upper.length === (first > 0xffff ? 2 : 1) ? first : point;
  },
});

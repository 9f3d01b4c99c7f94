// The address's fragment carries the selection ("#2,3,4": one number per list,
// in reading order) and, where the route count is hidden, says so ("#2,3,4;hide"),
// so that a copied address shares what the window shows: a teacher hands out
// a hidden example as a link. It names the language too where that is not the
// page's own ("#2,3,4;hide;lang=uk", or "#lang=uk" alone). A fragment of any
// other form is not meant for the window and is left alone, and so is the
// address while a practice is on.
(function (T) {
  var HIDE = ';hide';
  // A language the address names is no change for it to record.
  var started = false;
  var applying = false;

  var parse = function (hash) {
    var match = hash.length <= 64 && /^#(?:(\d+(?:,\d+)*)(;hide)?(?:;lang=([\w-]+))?|lang=([\w-]+))$/.exec(hash);
    if (!match) return null;
    var language = match[3] || match[4];
    if (!match[1]) return { language: language };
    var values = match[1].split(',').map(function (text) { return /^(0|[1-9]\d*)$/.test(text) ? +text : -1; });
    return T.window.fits(values) ? { values: values, hidden: !!match[2], language: language } : null;
  };

  var apply = function () {
    var state = parse(location.hash);
    if (!state) return;
    applying = true;
    if (state.language) T.words.choose(state.language, 'address');
    applying = false;
    if (!state.values || T.practice.on()) return;
    T.window.pick(state.values);
    T.classroom.hide(state.hidden);
  };

  // Replaces the address in place: picks are no steps to go back through.
  var record = function () {
    if (T.practice.on()) return; // a task is no example to share
    var language = T.words.language();
    var hash = '#' + T.window.values().join(',') + (T.classroom.hidden() ? HIDE : '') +
      (language === T.words.own() ? '' : ';lang=' + language);
    if (location.hash === hash) return;
    try {
      history.replaceState(history.state, '', hash);
    } catch (e) {
      location.replace(hash); // where the history refuses the page's own address
    }
  };

  T.on('started', function () {
    started = true;
    apply();
    addEventListener('hashchange', apply);
  });
  T.on('picked', record);
  T.on('answer', record);
  T.on('language', function () { if (started && !applying) record(); });
  T.on('practice', record);
})(Tavrel);

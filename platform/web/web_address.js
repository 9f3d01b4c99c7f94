// The address's fragment carries the selection ("#2,3,4": one number per list,
// in reading order), so that a copied address shares what the window shows.
// A fragment of any other form is not meant for the window and is left alone.
(function (T) {
  var parse = function (hash) {
    if (hash.length > 64 || !/^#\d+(,\d+)*$/.test(hash)) return null;
    var values = hash.slice(1).split(',').map(function (text) { return /^(0|[1-9]\d*)$/.test(text) ? +text : -1; });
    return T.window.fits(values) ? values : null;
  };

  var apply = function () {
    var values = parse(location.hash);
    if (values) T.window.pick(values);
  };

  // Replaces the address in place: picks are no steps to go back through.
  var record = function () {
    var hash = '#' + T.window.values().join(',');
    if (location.hash === hash) return;
    try {
      history.replaceState(history.state, '', hash);
    } catch (e) {
      location.replace(hash); // where the history refuses the page's own address
    }
  };

  T.on('started', function () {
    apply();
    addEventListener('hashchange', apply);
  });
  T.on('picked', record);
})(Tavrel);

// What a class needs beside the window, never inside it: a bar under it
// (the page's markup has it) with a button that hides the route count until
// the pupils have worked it out and one that lists the keys; each road
// picture described by the roads it shows, in the page's language; and one
// polite announcement of what a pick (or a change of language) changed. The window itself stays as the
// program draws it: here only its count is covered, and its pictures named.
(function (T) {
  var POINTS = 'ABCD';
  var hidden = false;
  var bar = document.getElementById('tavrel-bar');
  var hideButton = document.getElementById('tavrel-hide');
  var help = document.getElementById('tavrel-help');
  var said = document.getElementById('tavrel-said');
  var helpFrom = null;
  var shown = false;

  var count = function () { return T.window.named('Label1(1)'); };

  // "Между A и B: 1 път", "... 3 пътя", "Между A и B няма път".
  var roads = function (segment, n) {
    var values = { from: POINTS[segment], to: POINTS[segment + 1], n: n };
    if (n < 0) return T.words.text('picture.between', values);
    return n === 0 ? T.words.text('picture.none', values) : T.words.plural('picture.roads', n, values);
  };

  var describe = function () {
    var values = T.window.values();
    values.forEach(function (n, segment) {
      var picture = T.window.named('Picture1(' + segment + ')');
      if (picture) T.window.describe(picture.id, roads(segment, n));
    });
  };

  // The count as the pupil may know it.
  var answer = function () {
    var label = count();
    return label && !T.window.covered(label.id) ? T.words.text('said.count', { formula: T.window.caption(label.id) }) : '';
  };

  var say = function (text) {
    // The same words twice in a row are still a new announcement.
    said.textContent = said.textContent === text ? text + '\u00a0' : text;
  };

  var setHidden = function (hide) {
    hidden = hide;
    var label = count();
    if (label) T.window.cover(label.id, hide ? '?' : undefined);
    // The button's words follow the language too.
    hideButton.setAttribute('data-word', hide ? 'bar.show' : 'bar.hide');
    hideButton.textContent = T.words.text(hide ? 'bar.show' : 'bar.hide');
    T.announce('answer', hide);
  };

  var openHelp = function () {
    helpFrom = document.activeElement;
    help.showModal();
  };
  help.addEventListener('close', function () {
    if (helpFrom && helpFrom.isConnected) helpFrom.focus();
    helpFrom = null;
  });
  document.getElementById('tavrel-help-close').addEventListener('click', function () { help.close(); });

  // The page's own controls that Tab stops at, in order: the bar's, then the
  // practice's, where they are shown.
  var stops = function () {
    return Array.prototype.filter.call(document.querySelectorAll('.tavrel-bar button, .tavrel-bar select, ' +
      '.tavrel-practice button, .tavrel-practice input'), function (el) { return el.getClientRects().length > 0; });
  };

  // The bar follows the window in the order of Tab: past the window's last
  // element comes the bar, past the bar the window's first again (in a frame
  // of another page, Tab leaves the page there instead).
  var onKey = function (e) {
    if (e.key !== 'Tab' || e.ctrlKey || e.altKey || e.metaKey || help.open) return;
    var buttons = stops();
    var at = document.activeElement;
    var framed = window.self !== window.top;
    var edge = T.window.edge(e.shiftKey);
    var to = null;
    if (!e.shiftKey && edge && at === edge.el) to = buttons[0];
    else if (e.shiftKey && edge && at === edge.el && !framed) to = buttons[buttons.length - 1];
    else if (at === buttons[e.shiftKey ? 0 : buttons.length - 1] && !(framed && !e.shiftKey)) {
      e.preventDefault();
      T.window.enter(e.shiftKey);
      return;
    }
    if (!to) return;
    e.preventDefault();
    e.stopPropagation();
    to.focus();
  };

  T.classroom = {
    hidden: function () { return hidden; },
    hide: function (hide) { if (hide !== hidden) setHidden(hide); },
    say: say,
  };

  T.on('started', function () {
    var label = count();
    if (label) T.window.silence(label.id);
    describe();
    hideButton.addEventListener('click', function () { setHidden(!hidden); });
    document.getElementById('tavrel-help-open').addEventListener('click', openHelp);
    document.addEventListener('keydown', onKey, true);
  });
  T.on('selected', describe);
  T.on('shown', function () { shown = true; });
  T.on('language', function () {
    describe();
    if (shown) say(T.words.text('said.language'));
  });
  T.on('picked', function (list) {
    var values = T.window.values();
    say([roads(list, values[list]), answer()].filter(Boolean).join('. ') + '.');
  });
  // The practice covers the count itself, task by task, and gives it back.
  T.on('practice', function (on) {
    hideButton.hidden = on;
    if (!on) setHidden(hidden);
  });
  T.on('ended', function () {
    bar.remove();
    if (help.open) help.close();
  });
})(Tavrel);

// The page's JavaScript lives in one namespace, Tavrel, in layers like the
// C++: this file (notifications, the end of the program, its error report),
// web_words.js (the texts in the pupil's language, and 'language' when it
// changes), then web_load.js (the module and the window description), web_window.js
// (the window's elements and the user's input), and on top of them the
// page's own parts, each in a file of its own: web_fit.js, web_classroom.js
// (what a class needs beside the window), web_language.js (the choice of
// language and the window in it), web_address.js, web_scorm.js.
// Each keeps its state to itself. A lower layer never calls a higher one:
// it announces, and the higher ones listen.
//   'showing'  the window is whole, not yet in the page (fit it now)
//   'started'  the program's start is over: the page's parts may pick
//   'shown'    the window is in the page
//   'selected' a list's selection changed, whoever changed it (its position)
//   'picked'   the user picked in a list (its position in reading order)
//   'answer'   the page hid or showed the route count (true: hidden)
//   'ended'    the program has ended with an error report
// The page itself sets Tavrel.room, the one rule of where the window stands
// in the viewport, and the numbers it rests on (Tavrel.bar, the height of the
// page's bar under the window), before the program's script runs.
var Tavrel = self.Tavrel || {};

(function (T) {
  var listeners = {};
  var ended = false;

  T.on = function (name, fn) { (listeners[name] = listeners[name] || []).push(fn); };
  T.announce = function (name, what) {
    (listeners[name] || []).forEach(function (fn) { if (!ended || name === 'ended') fn(what); });
  };
  T.ended = function () { return ended; };

  // Calls into the program for one piece of input. An error the program
  // reports ends it by unwinding out of the call; that end is not a fault of
  // the page, so it is not thrown on into the browser.
  T.input = function (call) {
    if (ended) return undefined;
    try {
      return call();
    } catch (e) {
      if (e instanceof ExitStatus || e === 'unwind') return undefined;
      throw e;
    }
  };

  var add = function (parent, tag, id, text) {
    var el = parent.appendChild(document.createElement(tag));
    if (id) el.id = id;
    el.textContent = text;
    return el;
  };

  // The report of an error nobody caught, worded by the program (or, where
  // the program never started, by the build, from the same words). From
  // here on no input reaches the program: the window is gone, and once the
  // report is dismissed the page says that the program has ended.
  T.report = function (title, text, button, endedText) {
    ended = true;
    T.announce('ended');
    var dialog = document.createElement('div');
    dialog.className = 'tavrel-report';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', 'tavrel-report-title');
    dialog.setAttribute('aria-describedby', 'tavrel-report-text');
    add(dialog, 'h1', 'tavrel-report-title', title);
    add(dialog, 'p', 'tavrel-report-text', text);
    var ok = add(dialog, 'button', '', button);
    var dismiss = function () {
      if (!dialog.isConnected) return;
      dialog.remove();
      var note = document.createElement('p');
      note.className = 'tavrel-ended';
      note.setAttribute('role', 'status');
      note.textContent = endedText;
      document.body.appendChild(note);
    };
    ok.addEventListener('click', dismiss);
    dialog.addEventListener('keydown', function (e) {
      if (e.key === 'Escape' || e.key === 'Enter') { e.preventDefault(); dismiss(); }
      if (e.key === 'Tab') e.preventDefault(); // the only control keeps the focus
    });
    document.body.appendChild(dialog);
    ok.focus();
  };
})(Tavrel);

// Practice with a mark, beside the window: three levels of six tasks that
// the program poses in its own window and checks itself (its bridge is
// app/practice_bridge.cpp); here they are worded, shown and announced. While
// an attempt is on, the lists show the task and are locked, but for the one
// a level 3 task has the pupil pick in; the count is covered until the task
// is answered; and the selection the pupil left waits to be given back.
//   'practice' an attempt began (true) or ended (false)
//   'scored'   a task was answered: { score, levelOver, last } (score 0 to 100;
//              last: the level that ended was the last one)
//   'progress' the attempt moved on: its saved form changed
(function (T) {
  var FIELDS = ['active', 'level', 'round', 'task', 'tries', 'answered', 'levelOver', 'ab', 'bc', 'cd', 'missing',
    'routes', 'levelPoints', 'score', 'entry', 'verdict', 'points', 'hint'];
  var TASKS = 6;
  var POINTS = 2;
  var LEVELS = 3;
  var POINT_NAMES = 'ABCD';
  var ENTRY = { number: 0, empty: 1, notANumber: 2, tooLarge: 3 };
  var VERDICT = { right: 0, tryAgain: 1, shown: 2 };
  var HINTS = ['', 'multiply', 'no.road', 'added', 'missing'];
  var ENTRIES = ['', 'empty', 'not.number', 'too.large'];
  var W = function (key, values) { return T.words.text('practice.' + key, values); };
  var P = function (key, n, values) {
    return T.words.plural('practice.' + key, n, Object.assign({ n: n }, values));
  };

  var part = function (name) { return document.getElementById('tavrel-' + name); };
  var panel = part('practice');
  var open = part('practice-open');
  var title = part('practice-title');
  var progress = part('practice-progress');
  var taskText = part('practice-task');
  var field = part('answer');
  var label = document.querySelector('label[for="tavrel-answer"]');
  var check = part('check');
  var message = part('answer-message');
  var result = part('practice-result');
  var nextTask = part('next-task');
  var nextLevel = part('next-level');
  var repeat = part('repeat-level');
  // The selection the pupil left for the attempt, and the attempt's state as
  // the program last gave it.
  var free = null;
  var state = null;
  // The state the result line was worded from, for another language.
  var answered = null;

  var roadsOf = function (s) { return [s.ab, s.bc, s.cd]; };

  var read = function () {
    var at = Module._tavrel_practice_state() >> 2;
    var s = {};
    FIELDS.forEach(function (name, i) { s[name] = HEAP32[at + i]; });
    return s;
  };

  // One call into the program; null where it ended the program.
  var run = function (call) {
    T.input(call);
    if (T.ended()) return null;
    state = read();
    return state;
  };

  var count = function () { return T.window.named('Label1(1)'); };
  // A text of the page's markup that follows the language.
  var word = function (el, key) {
    el.setAttribute('data-word', key);
    el.textContent = T.words.text(key);
  };
  // What the last answer earned, in words: the verdict, and at a level's end its score.
  var said = function (s) { return verdictText(s) + (s.levelOver ? ' ' + levelText(s) : ''); };
  var list = function (segment) { return T.window.named('List1(' + segment + ')'); };
  var formula = function () { return T.window.caption(count().id); };

  var titleText = function (s) { return W(s.level < LEVELS ? 'level.count' : 'level.roads', { level: s.level }); };
  var progressText = function (s) { return W('progress', { task: s.task + 1, points: s.levelPoints }); };

  var describeTask = function (s) {
    var roads = roadsOf(s);
    var given = roads.map(function (n, i) { return i === s.missing ? '' : POINT_NAMES.substr(i, 2) + ' – ' + n; });
    var values = { roads: given.filter(Boolean).join(', '), from: POINT_NAMES[s.missing],
      to: POINT_NAMES[s.missing + 1], list: POINT_NAMES.substr(s.missing, 2) };
    return s.missing < 0 ? W('count', values) : P('pick', s.routes, values);
  };

  var verdictText = function (s) {
    var roads = roadsOf(s);
    var known = roads.filter(function (n, i) { return i !== s.missing; }).join('*');
    var values = { formula: formula(), points: P('points', s.points), n: roads[s.missing],
      from: POINT_NAMES[s.missing], to: POINT_NAMES[s.missing + 1] };
    values.hint = s.hint > 0 ? W('hint.' + HINTS[s.hint], { known: known, total: s.routes }) : '';
    if (s.verdict === VERDICT.right) return W('right', values);
    if (s.verdict === VERDICT.tryAgain) return W('try.again', values);
    return s.missing >= 0 ? P('shown.pick', values.n, values) : W('shown', values);
  };

  var levelText = function (s) {
    var text = W('level.over', { points: s.levelPoints });
    return s.level === LEVELS ? text + ' ' + W('score', { score: s.score }) : text;
  };

  // The window as the task needs it: the lists locked but the one to pick
  // in, the count covered until the task is answered.
  var lockWindow = function (s) {
    [0, 1, 2].forEach(function (segment) {
      var item = list(segment);
      if (item) T.window.lock(item.id, s.answered || segment !== s.missing);
    });
    T.window.cover(count().id, s.answered ? undefined : '?');
  };

  // Shows the attempt as it stands; what changed is said once.
  var render = function (s, said) {
    var typed = s.missing < 0;
    title.textContent = titleText(s);
    progress.textContent = progressText(s);
    taskText.textContent = describeTask(s);
    label.hidden = field.hidden = !typed || !!s.answered;
    check.hidden = !!s.answered;
    nextTask.hidden = !s.answered || !!s.levelOver;
    nextLevel.hidden = !s.levelOver || s.level === LEVELS;
    repeat.hidden = !s.levelOver;
    lockWindow(s);
    T.announce('bar');
    if (said) T.classroom.say(said);
  };

  var clearMessage = function () {
    message.textContent = '';
    field.removeAttribute('aria-invalid');
  };

  // Where the pupil goes on: the field, the list to pick in, or the button
  // that leads on once the task is answered.
  var focusNext = function (s) {
    var root = T.window.layout().root;
    if (root && !root.isConnected) {
      // A practice resumed as the page opens: after the window's own first focus.
      T.on('shown', function () { setTimeout(function () { if (state && state.active) focusNext(state); }, 0); });
      return;
    }
    var to = s.levelOver ? (s.level < LEVELS ? nextLevel : repeat) : s.answered ? nextTask : null;
    if (to) to.focus();
    else if (s.missing < 0) field.focus();
    else T.window.focus(list(s.missing).id, false);
  };

  var pose = function (s) {
    if (!s) return;
    field.value = '';
    clearMessage();
    result.textContent = '';
    answered = null;
    render(s, [titleText(s), progressText(s), describeTask(s)].join(' '));
    focusNext(s);
    T.announce('progress');
  };

  var answer = function () {
    if (!state || state.answered) return;
    var bytes = new TextEncoder().encode(field.value.slice(0, 16));
    var at = Module._tavrel_practice_text();
    HEAPU8.set(bytes.subarray(0, 256), at);
    var s = run(function () { Module._tavrel_practice_check(Math.min(bytes.length, 256)); });
    if (!s) return;
    if (s.verdict < 0) {
      // No answer: no try is used, and nothing else changes.
      message.textContent = W(ENTRIES[s.entry]);
      field.setAttribute('aria-invalid', 'true');
      T.classroom.say(message.textContent);
      field.focus();
      return;
    }
    clearMessage();
    if (s.verdict === VERDICT.tryAgain) field.value = '';
    answered = s;
    var text = said(s);
    result.textContent = text;
    render(s, text);
    T.announce('scored', { score: s.score, levelOver: !!s.levelOver, last: !!s.levelOver && s.level === LEVELS });
    focusNext(s);
  };

  var start = function (saved) {
    if (state && state.active) return true;
    var values = T.window.values();
    var seed = crypto.getRandomValues(new Uint32Array(1))[0];
    var s;
    if (saved === undefined) {
      s = run(function () { Module._tavrel_practice_start(seed); });
    } else {
      var text = new TextEncoder().encode(saved + '\0');
      var at = Module._tavrel_practice_text();
      if (text.length > 256) return false;
      HEAPU8.set(text, at);
      s = run(function () { Module._tavrel_practice_resume(at); });
    }
    if (!s || !s.active) return false;
    free = values;
    panel.hidden = false;
    word(open, 'bar.practice.end');
    T.announce('practice', true);
    pose(s);
    return true;
  };

  var end = function () {
    if (!state || !state.active) return;
    run(function () { Module._tavrel_practice_end(); });
    [0, 1, 2].forEach(function (segment) { if (list(segment)) T.window.lock(list(segment).id, false); });
    T.window.cover(count().id, undefined);
    panel.hidden = true;
    word(open, 'bar.practice');
    T.window.pick(free);
    free = null;
    T.announce('practice', false);
    T.announce('bar');
    T.announce('progress');
    open.focus();
  };

  var onward = function (call) {
    return function () { pose(run(call)); };
  };

  T.practice = {
    on: function () { return !!(state && state.active); },
    // The attempt's saved form ('' where none is on), and where one is on,
    // the selection the pupil left for it.
    saved: function () {
      return state && state.active ? UTF8ToString(Module._tavrel_practice_saved()) : '';
    },
    free: function () { return free; },
    resume: function (saved) { return start(saved); },
  };

  T.on('started', function () {
    open.addEventListener('click', function () { if (state && state.active) end(); else start(); });
    check.addEventListener('click', answer);
    field.addEventListener('keydown', function (e) {
      if (e.key === 'Enter') {
        e.preventDefault();
        answer();
      }
    });
    field.addEventListener('input', clearMessage);
    nextTask.addEventListener('click', onward(function () { Module._tavrel_practice_next_task(); }));
    nextLevel.addEventListener('click', onward(function () { Module._tavrel_practice_next_level(); }));
    repeat.addEventListener('click', onward(function () { Module._tavrel_practice_repeat_level(); }));
  });
  // Another language: the same attempt, where it stands, in the new words.
  T.on('language', function () {
    if (!state || !state.active) return;
    title.textContent = titleText(state);
    progress.textContent = progressText(state);
    taskText.textContent = describeTask(state);
    if (message.textContent) message.textContent = W(ENTRIES[state.entry]);
    if (answered) result.textContent = said(answered);
    T.announce('bar');
  });
  T.on('ended', function () { panel.remove(); });
})(Tavrel);

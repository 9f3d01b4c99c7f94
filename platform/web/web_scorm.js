// The page as a SCORM 1.2 content object, where a learning platform offers
// the API: the lesson is "incomplete" from the first entry and "completed"
// once the pupil has picked in every list; the selection is kept in the
// suspend data and comes back when the pupil resumes. Without an API the page
// is the standalone program. A platform that fails (a call that returns an
// error or throws) is named once on the console and then left alone: the
// pupil never sees it, and the window goes on as standalone.
var TavrelScorm = {
  api: null,
  begun: 0,
  picked: [],

  // The usual search: the API object on this window or one of its parents,
  // then on the window that opened this one and its parents.
  find: function () {
    var search = function (win) {
      try {
        for (var steps = 0; win && steps < 8; steps++) {
          if (win.API && typeof win.API.LMSInitialize === 'function') return win.API;
          if (!win.parent || win.parent === win) break;
          win = win.parent;
        }
      } catch (e) { /* a window of another origin: no API of ours */ }
      return null;
    };
    var api = search(window);
    try {
      if (!api && window.opener) api = search(window.opener);
    } catch (e) { /* the opener is of another origin */ }
    return api;
  },

  // One call of the API; null where it failed, after which the page no
  // longer uses it.
  call: function (name, args, isValue) {
    var api = TavrelScorm.api;
    if (!api) return null;
    var result;
    var error = '';
    try {
      result = api[name].apply(api, args);
      if (isValue) {
        var code = String(api.LMSGetLastError());
        if (code !== '0' && code !== '') error = 'error ' + code;
      } else if (String(result) !== 'true') {
        error = 'error ' + String(api.LMSGetLastError());
      }
    } catch (e) {
      error = String(e && e.message || e);
    }
    if (!error) return String(result);
    TavrelScorm.api = null;
    console.warn('Tavrel_Oskund: the learning platform failed (' + name + ': ' + error +
      '); the program goes on without it.');
    return null;
  },

  set: function (element, value) { return TavrelScorm.call('LMSSetValue', [element, value]) !== null; },
  get: function (element) { return TavrelScorm.call('LMSGetValue', [element], true); },

  // "2,3,4;picked=0,2": the selection, and which lists the pupil has picked in.
  save: function () {
    var picked = [];
    TavrelScorm.picked.forEach(function (done, i) { if (done) picked.push(i); });
    return TavrelSelection.values().join(',') + ';picked=' + picked.join(',');
  },

  restore: function (data) {
    var match = /^(\d+(?:,\d+)*);picked=((?:\d+(?:,\d+)*)?)$/.exec(data || '');
    if (!match) return;
    var values = match[1].split(',').map(Number);
    if (!TavrelSelection.pick(values)) return;
    match[2].split(',').forEach(function (i) { if (i !== '' && +i < values.length) TavrelScorm.picked[+i] = true; });
  },

  start: function () {
    TavrelScorm.api = TavrelScorm.find();
    if (!TavrelScorm.api || TavrelScorm.call('LMSInitialize', ['']) === null) return;
    TavrelScorm.begun = Date.now();
    var entry = TavrelScorm.get('cmi.core.entry');
    if (entry === 'resume') TavrelScorm.restore(TavrelScorm.get('cmi.core.suspend_data'));
    var status = TavrelScorm.get('cmi.core.lesson_status');
    if (status !== null && ['completed', 'passed', 'failed', 'incomplete'].indexOf(status) < 0 &&
        TavrelScorm.set('cmi.core.lesson_status', 'incomplete'))
      TavrelScorm.call('LMSCommit', ['']);
    addEventListener('pagehide', TavrelScorm.finish);
  },

  pick: function (list) {
    if (!TavrelScorm.api) return;
    TavrelScorm.picked[list] = true;
    if (!TavrelScorm.set('cmi.core.suspend_data', TavrelScorm.save())) return;
    var lists = TavrelSelection.lists().length;
    var all = true;
    for (var i = 0; i < lists; i++) all = all && TavrelScorm.picked[i] === true;
    if (all && TavrelScorm.get('cmi.core.lesson_status') === 'incomplete' &&
        !TavrelScorm.set('cmi.core.lesson_status', 'completed'))
      return;
    TavrelScorm.call('LMSCommit', ['']);
  },

  // The session's length as SCORM 1.2 writes it, HHHH:MM:SS.SS.
  sessionTime: function () {
    var centis = Math.min(Math.floor((Date.now() - TavrelScorm.begun) / 10), 9999 * 360000 + 359999);
    var two = function (n) { return (n < 10 ? '0' : '') + n; };
    var hours = String(Math.floor(centis / 360000));
    return '0000'.slice(hours.length) + hours + ':' + two(Math.floor(centis / 6000) % 60) + ':' +
      two(Math.floor(centis / 100) % 60) + '.' + two(centis % 100);
  },

  finish: function () {
    if (!TavrelScorm.api) return;
    if (TavrelScorm.set('cmi.core.session_time', TavrelScorm.sessionTime()) &&
        TavrelScorm.set('cmi.core.exit', 'suspend'))
      TavrelScorm.call('LMSFinish', ['']);
    TavrelScorm.api = null; // a finished session takes no more calls
  },
};
TavrelSelection.onStart(TavrelScorm.start);
TavrelSelection.onPick(TavrelScorm.pick);

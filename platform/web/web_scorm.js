// The page as a SCORM 1.2 content object, where a learning platform offers
// the API: the lesson is "incomplete" from the first entry and "completed"
// once the pupil has picked in every list. The practice's mark is the score,
// sent after every answer. Against the platform's mastery score, where it
// gives one, the lesson is "passed" as soon as the mark reaches it and
// "failed" where the last level ends below it; without one it is "completed"
// once a level ends. The selection and the practice are kept in the suspend data
// and come back when the pupil resumes. Without an API the page is the
// standalone program. A platform that fails (a call that returns an
// error or throws) is named once on the console and then left alone: the
// pupil never sees it, and the window goes on as standalone. The pupil's
// preferred language, where the platform keeps one, is the page's unless the
// address or the pupil chose one; a platform that cannot tell it has none.
(function (T) {
  var api = null;
  var begun = 0;
  var picked = [];
  var mastery = NaN;

  // The usual search: the API object on this window or one of its parents,
  // then on the window that opened this one and its parents.
  var find = function () {
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
    var found = search(window);
    try {
      if (!found && window.opener) found = search(window.opener);
    } catch (e) { /* the opener is of another origin */ }
    return found;
  };

  // One call of the API; null where it failed, after which the page no
  // longer uses it, unless the call may fail.
  var call = function (name, args, isValue, mayFail) {
    var platform = api;
    if (!platform) return null;
    var result;
    var error = '';
    try {
      result = platform[name].apply(platform, args);
      if (isValue) {
        var code = String(platform.LMSGetLastError());
        if (code !== '0' && code !== '') error = 'error ' + code;
      } else if (String(result) !== 'true') {
        error = 'error ' + String(platform.LMSGetLastError());
      }
    } catch (e) {
      error = String(e && e.message || e);
    }
    if (!error) return String(result);
    if (mayFail) return null;
    api = null;
    console.warn('Tavrel_Oskund: the learning platform failed (' + [name].concat(args[0] || []).join(' ') + ': ' +
      error + '); the program goes on without it.');
    return null;
  };

  var set = function (element, value) { return call('LMSSetValue', [element, value]) !== null; };
  var get = function (element) { return call('LMSGetValue', [element], true); };
  // An element a platform need not have: where it fails, it is not there.
  var optional = function (element) { return call('LMSGetValue', [element], true, true) || ''; };

  // "2,3,4;picked=0,2;practice=...": the selection the pupil left, which
  // lists the pupil has picked in, and the practice where one is on.
  var save = function () {
    var lists = [];
    picked.forEach(function (done, i) { if (done) lists.push(i); });
    var practice = T.practice.saved();
    return (T.practice.free() || T.window.values()).join(',') + ';picked=' + lists.join(',') +
      (practice ? ';practice=' + practice : '');
  };

  var restore = function (data) {
    var match = /^(\d+(?:,\d+)*);picked=((?:\d+(?:,\d+)*)?)(?:;practice=(.+))?$/.exec(data || '');
    if (!match) return;
    var values = match[1].split(',').map(Number);
    if (!T.window.pick(values)) return;
    match[2].split(',').forEach(function (i) { if (i !== '' && +i < values.length) picked[+i] = true; });
    if (match[3]) T.practice.resume(match[3]);
  };

  var start = function () {
    api = find();
    if (!api || call('LMSInitialize', ['']) === null) return;
    begun = Date.now();
    var language = optional('cmi.student_preference.language');
    if (language) T.words.choose(language, 'platform');
    mastery = parseFloat(optional('cmi.student_data.mastery_score'));
    var entry = get('cmi.core.entry');
    if (entry === 'resume') restore(get('cmi.core.suspend_data'));
    var status = get('cmi.core.lesson_status');
    if (status !== null && ['completed', 'passed', 'failed', 'incomplete'].indexOf(status) < 0 &&
        set('cmi.core.lesson_status', 'incomplete'))
      call('LMSCommit', ['']);
    addEventListener('pagehide', finish);
  };

  var pick = function (list) {
    if (!api || T.practice.on()) return;
    picked[list] = true;
    if (!set('cmi.core.suspend_data', save())) return;
    var lists = T.window.values().length;
    var all = true;
    for (var i = 0; i < lists; i++) all = all && picked[i] === true;
    if (all && get('cmi.core.lesson_status') === 'incomplete' &&
        !set('cmi.core.lesson_status', 'completed'))
      return;
    call('LMSCommit', ['']);
  };

  // The mark, after every answer: the score, and the status it earns.
  var scored = function (mark) {
    if (!api) return;
    if (!set('cmi.core.score.min', '0') || !set('cmi.core.score.max', '100') ||
        !set('cmi.core.score.raw', String(mark.score)) || !set('cmi.core.suspend_data', save()))
      return;
    var status = null;
    if (!isNaN(mastery)) {
      if (mark.score >= mastery) status = 'passed';
      // Earlier levels cannot reach most mastery scores: only the last one's end can fail.
      else if (mark.last) status = 'failed';
    } else if (mark.levelOver) {
      var now = get('cmi.core.lesson_status');
      if (now === null) return;
      if (now !== 'passed' && now !== 'failed') status = 'completed';
    }
    if (status && !set('cmi.core.lesson_status', status)) return;
    call('LMSCommit', ['']);
  };

  // Where the practice moved on, a pupil who leaves comes back to it.
  var progress = function () {
    if (api && set('cmi.core.suspend_data', save())) call('LMSCommit', ['']);
  };

  // The session's length as SCORM 1.2 writes it, HHHH:MM:SS.SS.
  var sessionTime = function () {
    var centis = Math.min(Math.floor((Date.now() - begun) / 10), 9999 * 360000 + 359999);
    var two = function (n) { return (n < 10 ? '0' : '') + n; };
    var hours = String(Math.floor(centis / 360000));
    return '0000'.slice(hours.length) + hours + ':' + two(Math.floor(centis / 6000) % 60) + ':' +
      two(Math.floor(centis / 100) % 60) + '.' + two(centis % 100);
  };

  var finish = function () {
    if (!api) return;
    if (set('cmi.core.session_time', sessionTime()) &&
        set('cmi.core.exit', 'suspend'))
      call('LMSFinish', ['']);
    api = null; // a finished session takes no more calls
  };

  T.on('started', start);
  T.on('picked', pick);
  T.on('scored', scored);
  T.on('progress', progress);
})(Tavrel);

// The page's texts in the pupil's language: one catalogue a language, which
// the build checked against the others and put before the program's script.
// The page's own language (the first) is in its markup already; another one
// is put in place of it at once, in the page's markup and, where the higher
// layers listen, in the window and what is said. A choice comes from several places, and a
// less direct one never overrides a more direct one: the address or the
// user's own choice, then a choice kept on this device, the learning
// platform's, the browser's, the page's own.
//   'language'  the page speaks another language now (its code)
(function (T) {
  var RANK = { user: 0, address: 0, kept: 1, platform: 2, browser: 3, page: 4 };
  var catalogues = self.TavrelCatalogues;
  var own = T.languages[0];
  var current = own;
  var from = 'page';

  var fill = function (text, values) {
    return text.replace(/\{([a-z]+)\}/g, function (all, name) {
      return values && name in values ? String(values[name]) : all;
    });
  };

  var text = function (key, values, language) {
    var words = catalogues[language || current].words;
    return fill(key in words ? words[key] : catalogues[own].words[key], values);
  };

  // The page's markup says which of its texts and names are words of a catalogue.
  var swap = function () {
    document.documentElement.lang = current;
    [['data-word', null], ['data-word-label', 'aria-label'], ['data-word-content', 'content']].forEach(function (pair) {
      document.querySelectorAll('[' + pair[0] + ']').forEach(function (el) {
        var words = text(el.getAttribute(pair[0]));
        if (!pair[1] && el.textContent !== words) el.textContent = words;
        else if (pair[1] && el.getAttribute(pair[1]) !== words) el.setAttribute(pair[1], words);
      });
    });
  };

  T.words = {
    // A text with its placeholders filled in, in the language the page speaks
    // (or another).
    text: text,
    // The form of a count's text that the language takes for n.
    plural: function (key, n, values) {
      var form = new Intl.PluralRules(current).select(n);
      var words = catalogues[current].words;
      return text(key + '.' + (key + '.' + form in words ? form : 'other'), values);
    },
    language: function () { return current; },
    own: function () { return own; },
    // Each language's code and its name in itself.
    languages: function () {
      return T.languages.map(function (code) { return { code: code, name: catalogues[code].name }; });
    },
    // Speaks the language a code names, where nothing more direct chose
    // another; a code the page has no catalogue for changes nothing.
    choose: function (code, by) {
      var language = T.known(code);
      if (!language || RANK[by] > RANK[from]) return false;
      from = by;
      if (language === current) return true;
      current = language;
      swap();
      T.announce('language', current);
      return true;
    },
  };

  // The report's own frame and button, where they are the page's own
  // language's, are said in the language the page speaks; what went wrong
  // stays as the program worded it.
  var report = T.report;
  var escape = function (s) { return s.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'); };
  T.report = function (title, textOfReport, button, ended) {
    var frame = new RegExp('^' + escape(text('report.error', null, own)).replace('\\{number\\}', '(-?\\d+)'));
    var words = function (key, said) { return said === text(key, null, own) ? text(key) : said; };
    report(title, textOfReport.replace(frame, function (all, number) { return text('report.error', { number: number }); }),
      words('report.button', button), words('report.ended', ended));
  };

  if (!T.words.choose(T.remembered(), 'kept')) T.words.choose(T.preferred(), 'browser');
  // The address has chosen too once the window is in the page: the bar shows its words.
  var said = function () { document.documentElement.classList.remove('tavrel-unsaid'); };
  T.on('shown', said);
  T.on('ended', said);
})(Tavrel);

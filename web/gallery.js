// Fills the gallery: a card for each program in window.qorinPrograms (written by the build), in
// the language the page was opened with. Every program of the suite has its line here; only the
// ones present are shown.
'use strict';
(function () {
  const lang = new URLSearchParams(location.search).get('lang') === 'ru' ? 'ru' : 'en';
  const texts = {
    en: {
      intro: 'Animated demonstrations of waves and light. Click one to run it full window; Escape or its exit button brings you back here.',
      pictures: 'Pictures and captions: English',
      programs: {
        Qorin1: ['Standing waves', 'Two equal waves running in opposite directions add up to a standing wave with fixed nodes.'],
        Qorin2: ['Polarization of a transverse wave', 'Linear, circular and elliptical polarization, traced in space and in the plane.'],
        Qorin3: ['Travelling electromagnetic wave', 'The electric and magnetic fields run in phase; a panel shows the energy flux.'],
        Qorin4: ['Polarization of light', 'Two perpendicular components with adjustable amplitudes and phase difference make the polarization.'],
        Qorin5: ['Standing electromagnetic wave', 'A standing electromagnetic wave with its energy densities and energy flux.'],
        Qorin6: ['Light at a boundary', 'Reflection and transmission at the boundary between vacuum and a medium of adjustable index.'],
      },
    },
    ru: {
      intro: 'Анимированные демонстрации волн и света. Щёлкните по карточке, чтобы запустить её на всё окно; Escape или кнопка выхода вернут вас сюда.',
      pictures: 'Картинки и подписи: на русском',
      programs: {
        Qorin1: ['Стоячие волны', 'Две одинаковые встречные волны складываются в стоячую волну с неподвижными узлами.'],
        Qorin2: ['Поляризация поперечной волны', 'Линейная, круговая и эллиптическая поляризация в пространстве и на плоскости.'],
        Qorin3: ['Бегущая электромагнитная волна', 'Электрическое и магнитное поля колеблются в фазе; на панели — поток энергии.'],
        Qorin4: ['Поляризация света', 'Две перпендикулярные составляющие с изменяемыми амплитудами и разностью фаз дают поляризацию.'],
        Qorin5: ['Стоячая электромагнитная волна', 'Стоячая электромагнитная волна, плотности энергии и поток энергии.'],
        Qorin6: ['Свет на границе', 'Отражение и преломление на границе вакуума и среды с изменяемым показателем преломления.'],
      },
    },
  }[lang];

  document.documentElement.lang = lang;
  document.getElementById('intro').textContent = texts.intro;
  document.getElementById(lang).className = 'current';
  const list = document.getElementById('programs');
  for (const name of window.qorinPrograms || []) {
    const [title, line] = texts.programs[name] || [name, ''];
    const card = document.createElement('a');
    card.className = 'card';
    card.id = 'card-' + name;
    card.href = name + '.html' + (lang === 'ru' ? '?lang=ru' : '');
    const picture = document.createElement('img');
    picture.src = 'cards/' + name + '-' + lang + '.png';
    picture.alt = title;
    const heading = document.createElement('h2');
    heading.textContent = name + ': ' + title;
    const description = document.createElement('p');
    description.textContent = line;
    const language = document.createElement('p');
    language.className = 'lang';
    language.textContent = texts.pictures;
    card.append(picture, heading, description, language);
    list.append(card);
  }
})();

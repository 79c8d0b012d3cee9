{{%AUTOESCAPE context="HTML"}}<header class="site">
<a class="home" href="index.html">{{SITE_TITLE}}</a>
<nav aria-label="Site"><a href="index.html">Workflows</a> <a href="extdir.html">External Directory</a></nav>
<div class="search" role="search">
<label for="search">Search</label>
<input id="search" type="search" placeholder="Task, performer or form" autocomplete="off" aria-controls="search-results">
<ol id="search-results" aria-live="polite" hidden></ol>
</div>
</header>

{{%AUTOESCAPE context="HTML"}}<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="velkmod-cli publish">
<link rel="stylesheet" href="assets/site.css">
<script src="assets/search-index.js" defer></script>
<script src="assets/site.js" defer></script>
